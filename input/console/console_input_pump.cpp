// The console input pump: waiting events become key codes in the console key ring,
// mouse events update the console mouse, and the close signal becomes the close key.
#include <atomic>

#include "input/console/console_input.h"
#include "input/console/console_mouse.h"
#include "input/keys.h"

namespace zv {

namespace {

const ConsoleInputBinding* replaced_binding = nullptr;

struct PumpState {
  bool input_started;
  bool input_is_console;
  bool handler_installed;
  int32_t composed;  // the character code typed so far with Alt and the keypad digits
};

PumpState pump_state;
// Close signals not yet posted; written by the control handler on its own thread (or a
// signal handler), so it is the only shared value.
std::atomic<int32_t> close_signals{0};
static_assert(std::atomic<int32_t>::is_always_lock_free);

constexpr uint32_t ALT_KEYS = MOD_LEFT_ALT | MOD_RIGHT_ALT;
constexpr uint32_t OTHER_MODIFIERS = MOD_LEFT_CTRL | MOD_RIGHT_CTRL | MOD_SHIFT;
constexpr uint16_t VK_NUMPAD0 = 96;
constexpr uint16_t VK_NUMPAD9 = 105;
constexpr uint16_t VK_F4 = 0x73;
constexpr uint16_t SCAN_F4 = 62;
constexpr int32_t EVENTS_PER_READ = 64;

bool alt_alone(uint32_t control_state) {
  return (control_state & ALT_KEYS) && !(control_state & OTHER_MODIFIERS);
}

void post_typed(int32_t code, const ConsoleInputRecord& record) { console_post_key(code, record); }

void handle_key(const ConsoleInputRecord& record) {
  const ConsoleKeyEvent& key = record.key;
  if (alt_alone(key.control_state)) {
    if (key.key_down && key.virtual_key >= VK_NUMPAD0 && key.virtual_key <= VK_NUMPAD9) {
      pump_state.composed = pump_state.composed * 10 + (key.virtual_key - VK_NUMPAD0);
      return;
    }
  } else if (pump_state.composed != 0) {
    post_typed(pump_state.composed & 0xFF, record);
    pump_state.composed = 0;
  }
  if (!key.key_down) return;
  const int32_t code = translate_key(key.character & 0xFF, key.scan_code, key.virtual_key, key.control_state, 0);
  if (code != -1) {
    post_typed(code, record);
    pump_state.composed = 0;
  }
}

// The record a close posts: Alt+F4 as if typed.
ConsoleInputRecord close_record() {
  ConsoleInputRecord record{};
  record.event_type = CONSOLE_KEY_EVENT;
  record.key = {1, 1, VK_F4, SCAN_F4, 0, MOD_LEFT_ALT};
  return record;
}

}  // namespace

void console_use_input_binding(const ConsoleInputBinding* binding) {
  replaced_binding = binding;
  pump_state = PumpState{};
}

const ConsoleInputBinding& console_input() {
  return replaced_binding ? *replaced_binding : console_input_binding();
}

bool console_input_is_console() {
  if (!pump_state.input_started) {
    pump_state.input_started = true;
    pump_state.input_is_console = console_input().start();
  }
  return pump_state.input_is_console;
}

void console_handle_event(const ConsoleInputRecord& record) {
  if (record.event_type == CONSOLE_KEY_EVENT) handle_key(record);
  if (record.event_type == CONSOLE_MOUSE_EVENT) console_mouse_event(record.mouse);
}

bool console_control_signal(uint32_t signal) {
  if (signal != CONSOLE_CLOSE_SIGNAL && signal != CONSOLE_LOGOFF_SIGNAL && signal != CONSOLE_SHUTDOWN_SIGNAL)
    return false;
  close_signals.fetch_add(1);
  return true;
}

bool console_close_pending() { return close_signals.load() > 0; }

void console_pump() {
  if (!pump_state.handler_installed) {
    pump_state.handler_installed = true;
    console_input().install_control_handler();
  }
  for (int32_t n = close_signals.exchange(0); n > 0; --n) console_post_key(KEY_CLOSE, close_record());
  if (!console_input_is_console()) return;
  ConsoleInputRecord records[EVENTS_PER_READ];
  for (;;) {
    const int32_t count = console_input().read_events(records, EVENTS_PER_READ);
    for (int32_t i = 0; i < count; ++i) console_handle_event(records[i]);
    if (count < EVENTS_PER_READ) break;
  }
}

void console_input_reset() {
  console_key_ring = {};
  pump_state.composed = 0;
  close_signals.store(0);
  console_mouse_reset();
}

}  // namespace zv
