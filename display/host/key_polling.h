// The drivers' keyboard polling: held keys by scan code from the virtual-key state.
#pragma once

#include <cstdint>

namespace zv {

// key_state[scan code] = 1 while either virtual key of its scancode row is down (bit 7), else 0.
// Scan codes without a row are left as they are.
void key_state_from_keyboard(const uint8_t keyboard[256], uint8_t key_state[128]);

// While the host's window is active: the screen's key_state from the window system's
// keyboard state. Does nothing without a screen or a window system.
void poll_key_state();

}  // namespace zv
