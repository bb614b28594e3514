// The server's keymap (one bit per X keycode) as the 256 key bytes of a keyboard device:
// byte = scan code, with 0x80 added for keys that come with the E0 prefix; bit 7 = down.
#pragma once

#include <cstdint>

namespace zv {

void x11_key_device_state(const uint8_t keymap[32], uint8_t device_state[256]);

}  // namespace zv
