#include "display/host/key_polling.h"

#include "input/keys.h"

namespace zv {

void key_state_from_keyboard(const uint8_t keyboard[256], uint8_t key_state[128]) {
  for (const ScancodeRow* row = VK_SCANCODE_TABLE; row->scancode != 0; ++row) {
    bool down = (keyboard[row->vk] & 0x80) || (row->vk2 != 0 && (keyboard[row->vk2] & 0x80));
    key_state[row->scancode & 0x7F] = down ? 1 : 0;
  }
}

}  // namespace zv
