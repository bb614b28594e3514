// Key queries of the graphics screen, all reading the key ring.
#include "input/auto_lock_scope.h"
#include "input/input_hooks.h"
#include "input/keys.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

// Second characters of the compact codes 256 + i: Close, Up, Down, Left, Right, Insert,
// Delete, Home, End, Page Up, Page Down, then F1 to F10.
constexpr char COMPACT_KEY_CHARS[] = "kHPKMRSGOIQ;<=>?@ABCD";
constexpr int32_t COMPACT_KEY_LAST = 20;
static_assert(sizeof(COMPACT_KEY_CHARS) == COMPACT_KEY_LAST + 2);

int32_t second_key_char(int32_t code) {
  if ((code & 0xFF) == 0xFF) return (code >> 8) & 0xFF;
  // Codes outside the compact range, negative ones included, count as its last entry.
  int32_t index = COMPACT_KEY_LAST;
  if (code >= 256 && code < 256 + COMPACT_KEY_LAST) index = code - 256;
  return static_cast<uint8_t>(COMPACT_KEY_CHARS[index]);
}

}  // namespace

StringDescriptor* gfx_key_string() {
  if (!graphics_state()) return &runtime.empty_string;
  const int32_t code = get_key();
  if (code == 0) return &runtime.empty_string;
  if (code >= 1 && code <= 255) return char_string(1, code);
  return char_string(2, 255, second_key_char(code));
}

int32_t gfx_wait_key() {
  for (;;) {
    if (!graphics_state()) return 0;
    const int32_t code = get_key();
    sleep(20);
    if (code != 0) return code;
  }
}

int32_t gfx_key_pending() {
  AutoLockScope lock(graphics_state());
  return key_ring.read_index != key_ring.write_index ? 1 : 0;
}

int32_t gfx_key_held(int32_t scan_code) {
  GraphicsState* screen = graphics_state();
  if (!screen || scan_code < 0 || scan_code > 127 || !screen->key_state) return 0;
  AutoLockScope lock(screen);
  return screen->key_state[scan_code] ? -1 : 0;
}

}  // namespace zv
