// Keys and the mouse of the system console: the console key ring, the input pump with
// Alt+keypad composition, the close signal, and the console defaults of the key, mouse
// and sleep hooks.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {

// A console input event in the layout of the Win32 console's input record (20 bytes).
struct ConsoleKeyEvent {
  int32_t key_down;
  uint16_t repeat_count;
  uint16_t virtual_key;
  uint16_t scan_code;
  uint16_t character;  // the low byte is the character in the console's code page
  uint32_t control_state;
};

struct ConsoleMouseEvent {
  int16_t x, y;  // buffer cells
  uint32_t button_state;
  uint32_t control_state;
  uint32_t event_flags;
};

struct ConsoleInputRecord {
  uint16_t event_type;
  uint16_t padding;
  union {
    ConsoleKeyEvent key;
    ConsoleMouseEvent mouse;
  };
};
static_assert(sizeof(ConsoleInputRecord) == 20);

constexpr uint16_t CONSOLE_KEY_EVENT = 1;
constexpr uint16_t CONSOLE_MOUSE_EVENT = 2;

// Mouse event flags and the wheel's direction in the high word of the button state.
constexpr uint32_t CONSOLE_MOUSE_MOVED = 1;
constexpr uint32_t CONSOLE_MOUSE_WHEELED = 4;

// Control signals that ask the program to end: close, log-off, shutdown.
constexpr uint32_t CONSOLE_CLOSE_SIGNAL = 2;
constexpr uint32_t CONSOLE_LOGOFF_SIGNAL = 5;
constexpr uint32_t CONSOLE_SHUTDOWN_SIGNAL = 6;

constexpr int32_t CONSOLE_RING_SIZE = 512;

struct ConsoleKeyEntry {
  int32_t code;
  ConsoleInputRecord record;  // the event the code came from
};

struct ConsoleKeyRing {
  ConsoleKeyEntry entries[CONSOLE_RING_SIZE];
  int32_t write_index;
  int32_t read_index;  // equal indices: empty
  int32_t key_arrived;
};

extern ConsoleKeyRing console_key_ring;

// Appends a code; a full ring drops its oldest entry.
void console_post_key(int32_t code, const ConsoleInputRecord& record);
// Pumps, then the oldest code, -1 when none. Read with whole = 0, a code of 256 or more
// gives 255 and, when removed, leaves its second byte as the next code.
int32_t console_get_key(int32_t whole, int32_t remove);

// What the console input needs from the system.
struct ConsoleInputBinding {
  // Fetches the input handle once; false when standard input is not a console.
  bool (*start)();
  // The events waiting now, without blocking; returns how many were stored.
  int32_t (*read_events)(ConsoleInputRecord* records, int32_t capacity);
  // Registers the handler that reports close, log-off and shutdown (and unregisters it at exit).
  void (*install_control_handler)();
  // Whether the console's window is the foreground window; false when it has none.
  bool (*window_is_foreground)();
  bool (*virtual_key_down)(uint32_t virtual_key);
  // Asks for mouse events from now on.
  void (*enable_mouse)();
  // A line of standard input without its line end; -1 at the end of input.
  int32_t (*read_plain_line)(char* buffer, int32_t capacity);
};

const ConsoleInputBinding& console_input_binding();  // this platform's
void console_use_input_binding(const ConsoleInputBinding* binding);  // tests; null restores
const ConsoleInputBinding& console_input();
// Whether standard input is a console (starts the input side on first use).
bool console_input_is_console();

// Reads every waiting event into the ring. Registers the control handler on first use.
void console_pump();
// One event through the rules: Alt+keypad composition, key translation, the mouse.
void console_handle_event(const ConsoleInputRecord& record);
// The control handler's rule: close, log-off and shutdown post the close key at the next
// pump and count as handled (true); other signals are left to the system. Safe to call
// from a signal handler or another thread.
bool console_control_signal(uint32_t signal);
// A line from a source of bytes (-1 at its end) without its line end; the rest of a line
// longer than the buffer is dropped. Returns the length, -1 when the input had ended.
int32_t read_line_of_bytes(int32_t (*next_byte)(), char* buffer, int32_t capacity);
// Whether a close signal arrived that no pump has posted yet.
bool console_close_pending();
// Back to the state at start: empty ring, no composition, no mouse, nothing pending.
void console_input_reset();

// The console defaults of the hooks.
StringDescriptor* console_key_string();
int32_t console_wait_key();
int32_t console_key_pending();
int32_t console_key_held(int32_t scan_code);
void console_sleep(int32_t milliseconds);
int32_t console_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
int32_t console_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip);

}  // namespace zv
