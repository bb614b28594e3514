#include <gtest/gtest.h>

#include <set>

#include "input/keys.h"

using namespace zv;

namespace {

constexpr uint32_t ALT = MOD_LEFT_ALT;
constexpr uint32_t CTRL = MOD_LEFT_CTRL;
constexpr uint32_t SHIFT = MOD_SHIFT;
constexpr uint32_t ENH = MOD_ENHANCED;

// Scancodes and virtual keys of the keys used below.
constexpr uint32_t SC_A = 30, VK_A = 0x41;
constexpr uint32_t SC_F1 = 59, VK_F1 = 0x70;
constexpr uint32_t SC_UP = 72, VK_UP = 0x26;
constexpr uint32_t SC_RIGHT = 77, VK_RIGHT = 0x27;
constexpr uint32_t SC_HOME = 71, VK_HOME = 0x24;
constexpr uint32_t SC_ENTER = 28, VK_ENTER = 0x0D;
constexpr uint32_t SC_SLASH = 53, VK_DIVIDE = 0x6F;

}  // namespace

TEST(TranslateKey, CombinationsBecomeExtendedCodes) {
  EXPECT_EQ(translate_key('a', SC_A, VK_A, ALT, 0), 0x1EFF);
  EXPECT_EQ(translate_key('A', SC_A, VK_A, MOD_RIGHT_ALT | SHIFT, 0), 0x1EFF) << "Alt wins over Shift";
  EXPECT_EQ(translate_key(0, SC_F1, VK_F1, 0, 0), 0x3BFF);
  EXPECT_EQ(translate_key(0, SC_F1, VK_F1, SHIFT, 0), 0x54FF);
  EXPECT_EQ(translate_key(0, SC_F1, VK_F1, CTRL, 0), 0x5EFF);
  EXPECT_EQ(translate_key(0, SC_F1, VK_F1, ALT | CTRL, 0), 0x68FF) << "Alt wins over Ctrl";
  EXPECT_EQ(translate_key(0, SC_UP, VK_UP, ENH, 0), 0x48FF);
  EXPECT_EQ(translate_key(0, SC_RIGHT, VK_RIGHT, ENH | CTRL, 0), 0x74FF);
  EXPECT_EQ(translate_key(0, SC_UP, VK_UP, 0, 0), 0x48FF) << "keypad 8 without Num Lock";
  EXPECT_EQ(translate_key('8', SC_UP, 0x68, 0, 0), '8') << "keypad 8 with Num Lock";
  EXPECT_EQ(translate_key(9, 15, 0x09, SHIFT, 0), 0x0FFF) << "Shift+Tab";
}

TEST(TranslateKey, AltDigitRowGivesDistinctCodes) {
  // Alt+1 ... Alt+0, Alt+-, Alt+= run from 0x78 to 0x83 without repeats.
  const char keys[] = "1234567890-=";
  const uint32_t vks[] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30, 0xBD, 0xBB};
  std::set<int32_t> seen;
  for (uint32_t i = 0; i < 12; ++i) {
    int32_t code = translate_key(static_cast<uint8_t>(keys[i]), 2 + i, vks[i], ALT, 0);
    EXPECT_EQ(code, static_cast<int32_t>(((0x78 + i) << 8) + 255)) << "key " << keys[i];
    seen.insert(code);
  }
  EXPECT_EQ(seen.size(), 12u);
}

TEST(TranslateKey, CharactersPassThrough) {
  EXPECT_EQ(translate_key(1, SC_A, VK_A, CTRL, 0), 1) << "Ctrl+A";
  EXPECT_EQ(translate_key('a', SC_A, VK_A, 0, 0), 'a');
  EXPECT_EQ(translate_key('A', SC_A, VK_A, SHIFT, 0), 'A');
  EXPECT_EQ(translate_key(0xFFFFFFE4u, 40, 0xDE, 0, 0), 0xE4) << "a sign-extended byte stays a byte";
  EXPECT_EQ(translate_key('q', 200, 0x51, 0, 0), 'q') << "scancodes beyond the table";
  EXPECT_EQ(translate_key(0, 29, 0x11, CTRL, 0), -1) << "Ctrl alone gives nothing";
  EXPECT_EQ(translate_key(0, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu & ~ENH, 0), -1);
}

TEST(TranslateKey, AnotherCharacterOnTheKeyKeepsTheCharacter) {
  // A layout whose AltGr+Q gives '@': the character is not the key's own, so it stays.
  EXPECT_EQ(translate_key('@', 16, 0x51, ALT | CTRL, 0), '@');
}

TEST(TranslateKey, EnhancedKeysUseTheirOwnTable) {
  EXPECT_EQ(translate_key(0, SC_ENTER, VK_ENTER, ENH, 0), 13) << "keypad Enter";
  EXPECT_EQ(translate_key(0, SC_ENTER, VK_ENTER, ENH | CTRL, 0), 10);
  EXPECT_EQ(translate_key(0, SC_ENTER, VK_ENTER, ENH | ALT, 0), 0xA6FF);
  EXPECT_EQ(translate_key(0, SC_SLASH, VK_DIVIDE, ENH, 0), '/') << "keypad /";
  EXPECT_EQ(translate_key(0, SC_SLASH, VK_DIVIDE, ENH | SHIFT, 0), '?');
  EXPECT_EQ(translate_key(0, SC_SLASH, VK_DIVIDE, ENH | MOD_RIGHT_CTRL, 0), 0x95FF);
  EXPECT_EQ(translate_key(0, SC_HOME, VK_HOME, ENH | ALT, 0), 0x97FF) << "Alt+Home";
  EXPECT_EQ(translate_key(0, SC_HOME, VK_HOME, ENH | SHIFT, 0), 0x47FF);
  EXPECT_EQ(translate_key(0, 0x1D, 0xA3, ENH | CTRL, 0), -1) << "right Ctrl has no row";
  EXPECT_EQ(translate_key(13, SC_ENTER, VK_ENTER, ENH, 0), 13) << "with a character the plain path runs";
}

TEST(TranslateKey, StrictGivesOnlyExtendedCodes) {
  EXPECT_EQ(translate_key('a', SC_A, VK_A, 0, 1), -1);
  EXPECT_EQ(translate_key(1, SC_A, VK_A, CTRL, 1), -1);
  EXPECT_EQ(translate_key('a', SC_A, VK_A, ALT, 1), 0x1EFF);
  EXPECT_EQ(translate_key(0, SC_F1, VK_F1, 0, 1), 0x3BFF);
  EXPECT_EQ(translate_key(0, SC_UP, VK_UP, ENH, 1), 0x48FF);
}

TEST(KeyTables, ScancodeTableRowsAndLookups) {
  std::set<int> scancodes;
  int rows = 0;
  for (const ScancodeRow* row = VK_SCANCODE_TABLE; row->scancode != 0; ++row, ++rows) {
    EXPECT_TRUE(scancodes.insert(row->scancode).second) << "scancode " << int(row->scancode) << " twice";
    EXPECT_NE(row->vk, 0);
  }
  EXPECT_EQ(rows, 86);
  EXPECT_EQ(vk_to_scancode(0x10), 42) << "either Shift";
  EXPECT_EQ(vk_to_scancode(0x11), 29);
  EXPECT_EQ(vk_to_scancode(0x12), 56);
  EXPECT_EQ(vk_to_scancode(0x67), 71) << "keypad 7 shares Home's scancode";
  EXPECT_EQ(vk_to_scancode(0x24), 71);
  EXPECT_EQ(vk_to_scancode(0x6F), 53);
  EXPECT_EQ(vk_to_scancode(0x5D), 127);
  EXPECT_EQ(vk_to_scancode(0), 0) << "0 is no key, though rows hold 0 as their second key";
  EXPECT_EQ(vk_to_scancode(0xFF), 0);
  EXPECT_EQ(vk_to_scancode(0x141), 0) << "only the low byte range is a virtual key";
}

TEST(KeyTables, KeyTableHoldsOnlyExtendedCodes) {
  int extended_entries = 0;
  for (const KeyTableRow& row : KEY_TABLE) {
    for (uint16_t value : {row.plain, row.shift, row.ctrl, row.alt}) {
      EXPECT_EQ(value & 0xFF, 0);
      if (value) ++extended_entries;
    }
  }
  // 13 Alt digits/Esc/punctuation, Backspace, 3 Tab, 12+1+12+10 Alt letters and
  // punctuation, 40 function keys, 23 navigation, 8 F11/F12.
  EXPECT_EQ(extended_entries, 13 + 1 + 3 + 35 + 40 + 23 + 8);
  EXPECT_EQ(KEY_TABLE[88].alt, 0x8C00);
  EXPECT_EQ(KEY_TABLE[76].alt, 0x4C00);
}
