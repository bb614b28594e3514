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

// Codes of one scancode by modifier. Entries of 256 and above are extended keys whose
// high byte is the second character of the key string; smaller entries have no effect.
struct KeyTableRow {
  uint16_t plain;
  uint16_t shift;
  uint16_t ctrl;
  uint16_t alt;
};

constexpr int32_t KEY_TABLE_ROWS = 89;  // scancodes 0..88
extern const KeyTableRow KEY_TABLE[KEY_TABLE_ROWS];

// Keys with the enhanced bit and no character. Values below 256 are characters.
struct EnhancedKeyRow {
  uint16_t scancode;
  uint16_t plain;
  uint16_t shift;
  uint16_t ctrl;
  uint16_t alt;
};

constexpr int32_t ENHANCED_KEY_ROWS = 12;
extern const EnhancedKeyRow ENHANCED_KEY_TABLE[ENHANCED_KEY_ROWS];

extern KeyRing key_ring;

// Only the low byte of character counts. Returns -1 when the key gives no code;
// with strict set, also where it would give the typed character itself.
int32_t translate_key(uint32_t character, uint32_t scan_code, uint32_t virtual_key, uint32_t modifiers,
                      int32_t strict);
// The ring holds 15 codes; posting into a full ring drops the oldest one.
// Callers on the display thread hold the display lock.
void post_key(int32_t code);
// The oldest code, 0 when none; also clears key_arrived.
int32_t get_key();
// Whether a key was posted since the last get_key or take_key_arrived; clears the flag.
int32_t take_key_arrived();

}  // namespace zv
