// Key codes, translation tables, the key ring.
#pragma once

#include <cstdint>

namespace zv {

// 1..255: a code page 437 character; n * 256 + 255: an extended key.
constexpr int32_t KEY_CLOSE = 0x6BFF;

// Modifier word
constexpr uint32_t MOD_RIGHT_ALT = 0x01;
constexpr uint32_t MOD_LEFT_ALT = 0x02;
constexpr uint32_t MOD_RIGHT_CTRL = 0x04;
constexpr uint32_t MOD_LEFT_CTRL = 0x08;
constexpr uint32_t MOD_SHIFT = 0x10;
constexpr uint32_t MOD_ENHANCED = 0x100;

struct KeyRing {
  int32_t codes[16];
  int32_t write_index;
  int32_t read_index;
  int32_t key_arrived;
};

struct ScancodeRow {
  uint8_t scancode;
  uint8_t vk;
  uint8_t vk2;
};

// 86 rows and a terminating row with scancode 0.
extern const ScancodeRow VK_SCANCODE_TABLE[87];
// Scancode of a virtual key, 0 when it has none.
uint8_t vk_to_scancode(uint32_t vk);

extern KeyRing key_ring;

int32_t translate_key(uint32_t character, uint32_t scan_code, uint32_t virtual_key, uint32_t modifiers,
                      int32_t strict);
void post_key(int32_t code);
int32_t get_key();
int32_t take_key_arrived();

}  // namespace zv
