#include "display/directdraw/x11/x11_key_device.h"

#include <cstring>

#include "display/host/x11_keymap.h"

namespace zv {

void x11_key_device_state(const uint8_t keymap[32], uint8_t device_state[256]) {
  std::memset(device_state, 0, 256);
  for (const X11KeycodeRow& row : X11_KEYCODE_TABLE) {
    if (!(keymap[row.keycode >> 3] & (1u << (row.keycode & 7)))) continue;
    device_state[(row.scancode & 0x7F) | (row.extended ? 0x80 : 0)] = 0x80;
  }
}

}  // namespace zv
