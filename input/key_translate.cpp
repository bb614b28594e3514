// Key messages to key codes: characters pass through, combinations become extended codes.
#include "input/keys.h"
#include "platform/platform.h"

namespace zv {

namespace {

constexpr uint32_t MOD_ALT = MOD_LEFT_ALT | MOD_RIGHT_ALT;
constexpr uint32_t MOD_CTRL = MOD_LEFT_CTRL | MOD_RIGHT_CTRL;

int32_t extended_code(uint32_t value) { return static_cast<int32_t>((value & 0xFF00) | 0xFF); }

// Alt counts before Ctrl, Ctrl before Shift.
uint32_t by_modifier(uint32_t modifiers, uint32_t plain, uint32_t shift, uint32_t ctrl, uint32_t alt) {
  if (modifiers & MOD_ALT) return alt;
  if (modifiers & MOD_CTRL) return ctrl;
  if (modifiers & MOD_SHIFT) return shift;
  return plain;
}

// An enhanced key without a character: -1 for a key or column without a code.
int32_t translate_enhanced(uint32_t scan_code, uint32_t modifiers) {
  for (const EnhancedKeyRow& row : ENHANCED_KEY_TABLE) {
    if (row.scancode != scan_code) continue;
    const uint32_t value = by_modifier(modifiers, row.plain, row.shift, row.ctrl, row.alt);
    if (value == 0) return -1;
    return value < 256 ? static_cast<int32_t>(value) : extended_code(value);
  }
  return -1;
}

uint32_t other_case(uint32_t c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= 'a' && c <= 'z') return c - ('a' - 'A');
  return c;
}

}  // namespace

int32_t translate_key(uint32_t character, uint32_t scan_code, uint32_t virtual_key, uint32_t modifiers,
                      int32_t strict) {
  // Window procedures pass the byte sign-extended; only the byte itself is the character.
  character &= 0xFF;
  if (character == 0 && (modifiers & MOD_ENHANCED)) return translate_enhanced(scan_code, modifiers);

  if (scan_code < static_cast<uint32_t>(KEY_TABLE_ROWS)) {
    const KeyTableRow& row = KEY_TABLE[scan_code];
    const uint32_t key_char = platform::virtual_key_char(virtual_key);
    const uint32_t plain = character != 0 ? key_char : row.plain;
    const uint32_t value = by_modifier(modifiers, plain, row.shift, row.ctrl, row.alt);
    // Only when the typed character belongs to the key itself, so that a layout
    // that makes another character with a modifier keeps that character.
    if (value >= 256 && (character == key_char || character == other_case(key_char))) {
      return extended_code(value);
    }
  }

  if (character == 0 || strict) return -1;
  return static_cast<int32_t>(character);
}

}  // namespace zv
