// Console input on a terminal: keys read in key mode and decoded into console events,
// SIGHUP and SIGTERM as the close signal, SGR mouse reports.
#include "input/console/console_input.h"
#include "input/console/posix/terminal_key_decoder.h"
#include "platform/posix/terminal.h"
#include "runtime/console/console_driver.h"

namespace zv {

namespace {

constexpr int32_t BUFFER_SIZE = 256;
// How long the rest of an escape sequence may take after its first bytes; a lone ESC
// that nothing follows within this time is the Esc key.
constexpr int32_t SEQUENCE_WAIT_MS = 30;

struct TerminalInput {
  TerminalKeyDecoder decoder;
  uint8_t bytes[BUFFER_SIZE];
  int32_t count;  // undecoded bytes at the front of bytes
  bool close_requested;
};

TerminalInput input;

bool start() {
  if (!platform::terminal_input()) return false;
  platform::terminal_take();
  return true;
}

// A first request posts the close key; one that comes before the program took the
// first ends it.
bool on_close_request() {
  if (console_close_pending()) return false;
  console_control_signal(CONSOLE_CLOSE_SIGNAL);
  return true;
}

void install_control_handler() { platform::terminal_on_close_request(on_close_request); }

// Mouse reports give terminal cells; the terminal shows the window of the visible page.
void to_buffer_cells(ConsoleInputRecord* record) {
  if (record->event_type != CONSOLE_MOUSE_EVENT) return;
  record->mouse.x = static_cast<int16_t>(record->mouse.x + console_state.geometry.window.left);
  record->mouse.y = static_cast<int16_t>(record->mouse.y + console_state.geometry.window.top);
}

int32_t read_events(ConsoleInputRecord* records, int32_t capacity) {
  int32_t stored = 0;
  bool waited = false;
  for (;;) {
    if (input.count < BUFFER_SIZE) {
      input.count += platform::terminal_read(input.bytes + input.count, BUFFER_SIZE - input.count,
                                             waited ? SEQUENCE_WAIT_MS : 0);
    }
    int32_t used = 0;
    bool incomplete = false;
    while (used < input.count && stored < capacity) {
      bool produced = false;
      const bool final = waited || input.count == BUFFER_SIZE;
      const int32_t n = decode_terminal_event(&input.decoder, input.bytes + used, input.count - used, final,
                                              &records[stored], &produced);
      if (n == 0) {
        incomplete = true;
        break;
      }
      used += n;
      if (produced) to_buffer_cells(&records[stored++]);
    }
    for (int32_t i = used; i < input.count; ++i) input.bytes[i - used] = input.bytes[i];
    input.count -= used;
    // An unfinished sequence gets one short wait for its rest, then counts as it is.
    if (!incomplete || waited || stored == capacity) return stored;
    waited = true;
  }
}

bool window_is_foreground() { return false; }  // a terminal does not tell which keys are held
bool virtual_key_down(uint32_t) { return false; }

void enable_mouse() {
  // Button presses, motion and the wheel, reported in the SGR form.
  static const char MOUSE_ON[] = "\x1b[?1000h\x1b[?1003h\x1b[?1006h";
  if (platform::terminal_output())
    platform::write_output(reinterpret_cast<const uint8_t*>(MOUSE_ON), sizeof MOUSE_ON - 1);
}

// With the terminal's own echo and line editing while the line is typed.
int32_t read_plain_line(char* buffer, int32_t capacity) {
  platform::terminal_line_mode(true);
  const int32_t length = read_line_of_bytes(platform::read_input_byte, buffer, capacity);
  platform::terminal_line_mode(false);
  return length;
}

constexpr ConsoleInputBinding terminal_binding = {
    start, read_events, install_control_handler, window_is_foreground, virtual_key_down, enable_mouse,
    read_plain_line,
};

}  // namespace

const ConsoleInputBinding& console_input_binding() { return terminal_binding; }

}  // namespace zv
