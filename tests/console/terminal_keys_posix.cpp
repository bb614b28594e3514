// What a terminal sends for keys, decoded and translated: the same key codes as the
// Windows console gives for those keys.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/console/posix/terminal_key_decoder.h"
#include "input/keys.h"
#include "runtime/console/posix/cp437.h"
#include "runtime/console/posix/terminal_view.h"

using namespace zv;

namespace {

// Every code the bytes give, as the pump would post them.
std::vector<int32_t> codes_of(const std::string& bytes) {
  TerminalKeyDecoder decoder{};
  std::vector<int32_t> codes;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  int32_t at = 0, length = static_cast<int32_t>(bytes.size());
  while (at < length) {
    ConsoleInputRecord record{};
    bool produced = false;
    const int32_t used = decode_terminal_event(&decoder, data + at, length - at, true, &record, &produced);
    if (used <= 0) break;
    at += used;
    if (!produced || record.event_type != CONSOLE_KEY_EVENT) continue;
    const ConsoleKeyEvent& k = record.key;
    const int32_t code = translate_key(k.character, k.scan_code, k.virtual_key, k.control_state, 0);
    if (code != -1) codes.push_back(code);
  }
  return codes;
}

struct KeyCase {
  const char* name;
  std::string bytes;
  int32_t code;
};

}  // namespace

TEST(TerminalKeys, SequencesGiveTheWindowsCodes) {
  const KeyCase cases[] = {
      {"Up", "\x1b[A", 0x48FF},          {"Down", "\x1b[B", 0x50FF},        {"Right", "\x1b[C", 0x4DFF},
      {"Left", "\x1b[D", 0x4BFF},        {"Up (SS3)", "\x1bOA", 0x48FF},    {"Home", "\x1b[1~", 0x47FF},
      {"Home (H)", "\x1b[H", 0x47FF},    {"End", "\x1b[4~", 0x4FFF},        {"End (F)", "\x1b[F", 0x4FFF},
      {"Insert", "\x1b[2~", 0x52FF},     {"Delete", "\x1b[3~", 0x53FF},     {"Page Up", "\x1b[5~", 0x49FF},
      {"Page Down", "\x1b[6~", 0x51FF},  {"F1", "\x1bOP", 0x3BFF},          {"F2", "\x1bOQ", 0x3CFF},
      {"F3", "\x1bOR", 0x3DFF},          {"F4", "\x1bOS", 0x3EFF},          {"F5", "\x1b[15~", 0x3FFF},
      {"F6", "\x1b[17~", 0x40FF},        {"F7", "\x1b[18~", 0x41FF},        {"F8", "\x1b[19~", 0x42FF},
      {"F9", "\x1b[20~", 0x43FF},        {"F10", "\x1b[21~", 0x44FF},       {"F11", "\x1b[23~", 0x85FF},
      {"F12", "\x1b[24~", 0x86FF},       {"Shift+F1", "\x1b[1;2P", 0x54FF}, {"Ctrl+F1", "\x1b[1;5P", 0x5EFF},
      {"Alt+F1", "\x1b[1;3P", 0x68FF},   {"Shift+F5", "\x1b[15;2~", 0x58FF}, {"Ctrl+F12", "\x1b[24;5~", 0x8AFF},
      {"Ctrl+Up", "\x1b[1;5A", 0x8DFF},  {"Ctrl+Right", "\x1b[1;5C", 0x74FF}, {"Alt+Up", "\x1b[1;3A", 0x98FF},
      {"Ctrl+Home", "\x1b[1;5H", 0x77FF}, {"Ctrl+Delete", "\x1b[3;5~", 0x93FF}, {"Shift+Tab", "\x1b[Z", 0x0FFF},
      {"Alt+A", "\x1b" "a", 0x1EFF},     {"Alt+Shift+A", "\x1b" "A", 0x1EFF}, {"Alt+Z", "\x1bz", 0x2CFF},
      {"Alt+1", "\x1b" "1", 0x78FF},     {"Alt+-", "\x1b-", 0x82FF},        {"Alt+Enter", "\x1b\r", 0x1CFF},
      {"Alt+[ alone", "\x1b[", 0x1AFF},  {"Alt+O alone", "\x1bO", 0x18FF},  {"Esc", "\x1b", 27},
      {"Enter", "\r", 13},               {"Ctrl+Enter", "\n", 10},          {"Tab", "\t", 9},
      {"Backspace", "\x7f", 8},          {"Ctrl+A", "\x01", 1},             {"Ctrl+Z", "\x1a", 26},
      {"a", "a", 'a'},                   {"A", "A", 'A'},                   {"!", "!", '!'},
      {"u-umlaut", "\xc3\xbc", 0x81},    {"block", "\xe2\x96\x88", 0xDB},   {"space", " ", ' '},
  };
  for (const KeyCase& c : cases) {
    const std::vector<int32_t> codes = codes_of(c.bytes);
    ASSERT_EQ(codes.size(), 1u) << c.name;
    EXPECT_EQ(codes[0], c.code) << c.name << ": 0x" << std::hex << codes[0];
  }
}

TEST(TerminalKeys, SeveralKeysInOneReadAndBrokenInput) {
  EXPECT_EQ(codes_of("ab\x1b[A\x1bOP\x1b\x1b"), (std::vector<int32_t>{'a', 'b', 0x48FF, 0x3BFF, 27, 27}));
  EXPECT_TRUE(codes_of("\x1b[99~").empty()) << "an unknown sequence gives nothing";
  EXPECT_TRUE(codes_of("\xe4\xb8\xad").empty()) << "a character without a code page 437 form";
  EXPECT_EQ(codes_of("\xff" "x"), (std::vector<int32_t>{'x'})) << "a stray byte is dropped";
  EXPECT_EQ(codes_of("\xc3" "x"), (std::vector<int32_t>{'x'})) << "a broken sequence is dropped";
  EXPECT_EQ(codes_of("\x1b[1;2"), (std::vector<int32_t>{})) << "an unfinished sequence at the end";
}

TEST(TerminalKeys, UnfinishedSequencesWaitForMoreBytes) {
  TerminalKeyDecoder decoder{};
  ConsoleInputRecord record{};
  bool produced = true;
  for (const char* part : {"\x1b", "\x1b[", "\x1b[1;5", "\x1bO", "\xe2\x96"}) {
    const std::string bytes(part);
    EXPECT_EQ(decode_terminal_event(&decoder, reinterpret_cast<const uint8_t*>(bytes.data()),
                                    static_cast<int32_t>(bytes.size()), false, &record, &produced),
              0)
        << bytes.size();
  }
}

TEST(TerminalKeys, SgrMouseReports) {
  TerminalKeyDecoder decoder{};
  const auto decode = [&](const std::string& bytes) {
    ConsoleInputRecord record{};
    bool produced = false;
    decode_terminal_event(&decoder, reinterpret_cast<const uint8_t*>(bytes.data()),
                          static_cast<int32_t>(bytes.size()), true, &record, &produced);
    EXPECT_TRUE(produced) << bytes;
    EXPECT_EQ(record.event_type, CONSOLE_MOUSE_EVENT);
    return record.mouse;
  };
  ConsoleMouseEvent m = decode("\x1b[<0;10;5M");
  EXPECT_EQ(m.x, 9);
  EXPECT_EQ(m.y, 4);
  EXPECT_EQ(m.button_state, 1u);
  m = decode("\x1b[<2;10;5M");
  EXPECT_EQ(m.button_state, 3u) << "left and right held";
  m = decode("\x1b[<34;11;6M");
  EXPECT_EQ(m.event_flags, CONSOLE_MOUSE_MOVED);
  EXPECT_EQ(m.button_state, 3u);
  m = decode("\x1b[<0;11;6m");
  EXPECT_EQ(m.button_state, 2u);
  m = decode("\x1b[<65;1;1M");
  EXPECT_EQ(m.event_flags, CONSOLE_MOUSE_WHEELED);
  EXPECT_LT(static_cast<int16_t>(m.button_state >> 16), 0) << "wheel towards the user";
}

TEST(TerminalText, CodePage437GlyphsRoundTrip) {
  for (int32_t byte = 0x80; byte <= 0xFF; ++byte)
    EXPECT_EQ(unicode_to_cp437(cp437_to_unicode(static_cast<uint8_t>(byte))), byte) << byte;
  char utf8[3];
  EXPECT_EQ(cp437_to_utf8(1, utf8), 3) << "control bytes have glyphs, so they never reach the terminal as controls";
  EXPECT_EQ(std::string(utf8, 3), "\xe2\x98\xba");
  EXPECT_EQ(cp437_to_utf8('A', utf8), 1);
  EXPECT_EQ(cp437_to_utf8(0x84, utf8), 2);
  EXPECT_EQ(std::string(utf8, 2), "\xc3\xa4");
}

TEST(TerminalText, CursorReportsAreFoundAmongTypedKeys) {
  const std::string bytes = "ab\x1b[A\x1b[12;40Rc";
  int32_t length = 0, x = 0, y = 0;
  const int32_t at = view_find_cursor_report(reinterpret_cast<const uint8_t*>(bytes.data()),
                                             static_cast<int32_t>(bytes.size()), &length, &x, &y);
  EXPECT_EQ(at, 5);
  EXPECT_EQ(length, 8);
  EXPECT_EQ(x, 39);
  EXPECT_EQ(y, 11);
  EXPECT_EQ(view_find_cursor_report(reinterpret_cast<const uint8_t*>("\x1b[12R"), 5, &length, &x, &y), -1);
}
