// The terminal on standard input and output: its size, key mode, signals and the way
// back to the state the program found it in.
#pragma once

#include <cstdint>

namespace zv::platform {

bool terminal_output();  // standard output is a terminal
bool terminal_input();   // standard input is a terminal
// The terminal's size in cells; false when it cannot be told.
bool terminal_size(int32_t* columns, int32_t* rows);
// Whether the terminal changed its size since the last call.
bool terminal_resized();

// Key mode on standard input: no echo, no line editing, keys one by one; Ctrl+C still
// interrupts. Signals and exit handlers that put the terminal back are installed with it.
// Also called again to switch back after a cooked read.
void terminal_take();
// Bytes written to the terminal when it is put back (the output side's escape sequences).
// At most 127 bytes; the text must stay valid for the process.
void terminal_set_restore_text(const char* text);
// Back to the state found at terminal_take: at exit, on signals and crashes.
void terminal_restore();
// Called from the signal handler when the terminal hangs up or the program is asked to
// end; returning false ends the program as the signal would have.
void terminal_on_close_request(bool (*callback)());

// Waiting bytes of standard input, up to capacity; waits at most timeout_ms for the first.
int32_t terminal_read(uint8_t* buffer, int32_t capacity, int32_t timeout_ms);
// Gives bytes back to be read again first (at most 256 are kept).
void terminal_unread(const uint8_t* bytes, int32_t length);
// The terminal's own line editing and echo on (for a plain line read) or back to key mode.
void terminal_line_mode(bool on);
// The next byte of standard input, waiting for it; -1 at the end of input.
int32_t read_input_byte();

// A write to a pipe whose reader is gone fails with an error instead of ending the
// program (unless the program chose its own handling of SIGPIPE).
void ignore_broken_pipe();
// Writes all bytes to standard output, retrying interrupted and partial writes. False on
// an error such as a closed pipe (which no longer ends the program).
bool write_output(const uint8_t* bytes, int32_t length);

}  // namespace zv::platform
