#include <gtest/gtest.h>

#include <array>
#include <set>

#include "input/keys.h"
#include "platform/platform.h"

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

namespace {

// The extended codes of every scancode, written out from the key code list: the second
// character of the key string for plain, Shift, Ctrl and Alt, 0 where the key gives no
// extended code. Runs of consecutive codes are one row. Alt+7 and Alt+8 have 7E and 7F of
// their own rather than repeating Alt+- and Alt+=.
struct ExpectedRun {
  int first, last;               // scancodes
  int plain, shift, ctrl, alt;   // codes of the first scancode; each non-zero one counts up along the run
};
constexpr ExpectedRun EXPECTED[] = {
    {1, 1, 0, 0, 0, 0x01},        {2, 7, 0, 0, 0, 0x78},        {8, 9, 0, 0, 0, 0x7E},
    {10, 13, 0, 0, 0, 0x80},      {14, 14, 0, 0, 0, 0xE0},      {15, 15, 0, 0x0F, 0x94, 0x0F},
    {16, 25, 0, 0, 0, 0x10},      {26, 27, 0, 0, 0, 0x1A},      {28, 28, 0, 0, 0, 0x1C},
    {30, 38, 0, 0, 0, 0x1E},      {39, 41, 0, 0, 0, 0x27},      {44, 50, 0, 0, 0, 0x2C},
    {51, 53, 0, 0, 0, 0x33},      {59, 68, 0x3B, 0x54, 0x5E, 0x68},
    {71, 71, 0x47, 0, 0x77, 0},   {72, 72, 0x48, 0, 0x8D, 0},   {73, 73, 0x49, 0, 0x84, 0},
    {75, 75, 0x4B, 0, 0x73, 0},   {76, 76, 0x4C, 0, 0x8F, 0x4C}, {77, 77, 0x4D, 0, 0x74, 0},
    {79, 79, 0x4F, 0, 0x75, 0},   {80, 80, 0x50, 0, 0x91, 0},   {81, 81, 0x51, 0, 0x76, 0},
    {82, 82, 0x52, 0, 0x92, 0},   {83, 83, 0x53, 0, 0x93, 0},   {87, 88, 0x85, 0x87, 0x89, 0x8B},
};

std::array<std::array<int, 4>, KEY_TABLE_ROWS> expected_codes() {
  std::array<std::array<int, 4>, KEY_TABLE_ROWS> codes{};
  for (const ExpectedRun& run : EXPECTED) {
    for (int scan = run.first; scan <= run.last; ++scan) {
      const int step = scan - run.first;
      const int firsts[4] = {run.plain, run.shift, run.ctrl, run.alt};
      for (int column = 0; column < 4; ++column) codes[scan][column] = firsts[column] ? firsts[column] + step : 0;
    }
  }
  return codes;
}

// The first virtual key the scancode table gives for a scancode, 0 when none.
uint32_t vk_of(int scancode) {
  for (const ScancodeRow* row = VK_SCANCODE_TABLE; row->scancode != 0; ++row)
    if (row->scancode == scancode) return row->vk;
  return 0;
}

}  // namespace

// Every scancode 0-88 with plain, Shift, Ctrl and Alt: the table holds exactly the listed
// codes, and a key press on that scancode with its own character gives the extended code
// (or, where none is listed, no extended code).
TEST(KeyTables, EveryScancodeAndModifierGivesTheListedCode) {
  const auto codes = expected_codes();
  const uint32_t modifiers[4] = {0, SHIFT, CTRL, ALT};
  const char* names[4] = {"plain", "Shift", "Ctrl", "Alt"};
  for (int scan = 0; scan < KEY_TABLE_ROWS; ++scan) {
    const KeyTableRow& row = KEY_TABLE[scan];
    const uint16_t held[4] = {row.plain, row.shift, row.ctrl, row.alt};
    const uint32_t vk = vk_of(scan);
    const uint8_t key_char = static_cast<uint8_t>(platform::virtual_key_char(vk) & 0xFF);
    for (int column = 0; column < 4; ++column) {
      SCOPED_TRACE(testing::Message() << "scancode " << scan << " " << names[column]);
      EXPECT_EQ(held[column], codes[scan][column] << 8);
      const int32_t code = translate_key(key_char, static_cast<uint32_t>(scan), vk, modifiers[column], 0);
      if (codes[scan][column]) {
        EXPECT_EQ(code, (codes[scan][column] << 8) + 255);
      } else {
        EXPECT_LT(code, 256);
      }
    }
  }
}
