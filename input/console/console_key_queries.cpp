// The console defaults of the key hooks and the console's sleep.
#include "input/console/console_input.h"
#include "input/input_hooks.h"
#include "input/keys.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

bool key_arrived() {
  console_pump();
  const bool arrived = console_key_ring.key_arrived != 0;
  console_key_ring.key_arrived = 0;
  return arrived;
}

// The virtual keys of a scancode's row, or none (0, 0) when the table has no row for it.
ScancodeRow scancode_row(int32_t scan_code) {
  for (const ScancodeRow& row : VK_SCANCODE_TABLE) {
    if (row.scancode == 0) break;
    if (row.scancode == scan_code) return row;
  }
  return {0, 0, 0};
}

}  // namespace

StringDescriptor* console_key_string() {
  const int32_t code = console_get_key(1, 1);
  if (code == -1) return &runtime.empty_string;
  if (code >= 256) return char_string(2, 255, (code >> 8) & 0xFF);
  return char_string(1, code);
}

int32_t console_wait_key() {
  for (;;) {
    const int32_t code = console_get_key(1, 1);
    if (code != -1) return code;
    console_sleep(-1);
  }
}

int32_t console_key_pending() { return console_get_key(1, 0) != -1 ? 1 : 0; }

int32_t console_key_held(int32_t scan_code) {
  if (!console_input_is_console() || !console_input().window_is_foreground()) return 0;
  const ScancodeRow row = scancode_row(scan_code);
  if (row.vk && console_input().virtual_key_down(row.vk)) return -1;
  if (row.vk2 && console_input().virtual_key_down(row.vk2)) return -1;
  return 0;
}

// Like the graphics screen's sleep, waking on a console key.
void console_sleep(int32_t milliseconds) { sleep_until_key(milliseconds, key_arrived); }

}  // namespace zv
