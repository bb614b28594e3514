// Characters of virtual keys as a US keyboard layout gives them, unshifted, with
// letters in upper case: the values the Windows layout call reports there.
#include "platform/platform.h"

namespace zv::platform {

namespace {

struct KeyChar {
  uint8_t vk;
  uint8_t character;
};

constexpr KeyChar US_KEY_CHARS[] = {
    {0x08, 8},     // Backspace
    {0x09, 9},     // Tab
    {0x0D, 13},    // Enter
    {0x1B, 27},    // Esc
    {0x20, ' '},   // Space
    {0x60, '0'},   // keypad 0
    {0x61, '1'},   // keypad 1
    {0x62, '2'},   // keypad 2
    {0x63, '3'},   // keypad 3
    {0x64, '4'},   // keypad 4
    {0x65, '5'},   // keypad 5
    {0x66, '6'},   // keypad 6
    {0x67, '7'},   // keypad 7
    {0x68, '8'},   // keypad 8
    {0x69, '9'},   // keypad 9
    {0x6A, '*'},   // keypad *
    {0x6B, '+'},   // keypad +
    {0x6D, '-'},   // keypad -
    {0x6E, '.'},   // keypad .
    {0x6F, '/'},   // keypad /
    {0xBA, ';'},   // VK_OEM_1
    {0xBB, '='},   // VK_OEM_PLUS
    {0xBC, ','},   // VK_OEM_COMMA
    {0xBD, '-'},   // VK_OEM_MINUS
    {0xBE, '.'},   // VK_OEM_PERIOD
    {0xBF, '/'},   // VK_OEM_2
    {0xC0, '`'},   // VK_OEM_3
    {0xDB, '['},   // VK_OEM_4
    {0xDC, '\\'},  // VK_OEM_5
    {0xDD, ']'},   // VK_OEM_6
    {0xDE, '\''},  // VK_OEM_7
    {0xE2, '\\'},  // VK_OEM_102
};

}  // namespace

// Digit and letter keys have their character as virtual-key code.
uint32_t virtual_key_char(uint32_t vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
  for (const KeyChar& key : US_KEY_CHARS) {
    if (key.vk == vk) return key.character;
  }
  return 0;
}

}  // namespace zv::platform
