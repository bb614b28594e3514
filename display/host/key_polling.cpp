#include "display/host/key_polling.h"

#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "input/keys.h"

namespace zv {

void key_state_from_keyboard(const uint8_t keyboard[256], uint8_t key_state[128]) {
  for (const ScancodeRow* row = VK_SCANCODE_TABLE; row->scancode != 0; ++row) {
    bool down = (keyboard[row->vk] & 0x80) || (row->vk2 != 0 && (keyboard[row->vk2] & 0x80));
    key_state[row->scancode & 0x7F] = down ? 1 : 0;
  }
}

void poll_key_state() {
  GraphicsState* gs = graphics_state();
  const WindowSystem* ws = window_system();
  if (!window_host.active || !gs || !gs->key_state || !ws) return;
  uint8_t keyboard[256] = {};
  ws->keyboard_state(keyboard);
  key_state_from_keyboard(keyboard, gs->key_state);
}

}  // namespace zv
