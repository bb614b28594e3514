#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/message_box_rules.h"
#include "platform/platform.h"

using namespace zv::platform;

namespace {

// Feeds input to the terminal question and returns the answer and what it printed.
int32_t ask(const char* input, uint32_t style, std::string* printed = nullptr) {
  std::FILE* in = std::tmpfile();
  std::FILE* out = std::tmpfile();
  std::fputs(input, in);
  std::rewind(in);
  const int32_t answer = terminal_message_box("k\xF6nnen?", "MORV", style, in, out);
  if (printed) {
    std::rewind(out);
    char buffer[512] = {};
    printed->assign(buffer, std::fread(buffer, 1, sizeof buffer - 1, out));
  }
  std::fclose(in);
  std::fclose(out);
  return answer;
}

int32_t replacement_calls = 0;
int32_t counting_box(const char*, const char*, uint32_t style) {
  ++replacement_calls;
  return static_cast<int32_t>(style);
}

}  // namespace

TEST(MessageBoxRules, ButtonsAndKeys) {
  const DialogButtons yes_no = dialog_buttons(MB_YESNO | MB_ICONQUESTION);
  ASSERT_EQ(yes_no.count, 2);
  EXPECT_STREQ(yes_no.labels[0], "Ja");
  EXPECT_STREQ(yes_no.labels[1], "Nein");
  int32_t focus = 0;
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Enter, 0, &focus), IDYES);  // the default button
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Escape, 0, &focus), IDNO);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Character, 'J', &focus), IDYES);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Character, 'y', &focus), IDYES);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Character, 'n', &focus), IDNO);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Character, 'x', &focus), 0);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Tab, 0, &focus), 0);
  EXPECT_EQ(focus, 1);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Space, 0, &focus), IDNO);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Right, 0, &focus), 0);
  EXPECT_EQ(focus, 0);
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Left, 0, &focus), 0);
  EXPECT_EQ(focus, 1);
  focus = 99;  // a stale focus falls back to the first button
  EXPECT_EQ(dialog_key(yes_no, DialogKey::Enter, 0, &focus), IDYES);

  const DialogButtons ok = dialog_buttons(MB_OK | MB_ICONWARNING);
  ASSERT_EQ(ok.count, 1);
  EXPECT_STREQ(ok.labels[0], "OK");
  focus = 0;
  EXPECT_EQ(dialog_key(ok, DialogKey::Escape, 0, &focus), IDOK);
  EXPECT_EQ(dialog_key(ok, DialogKey::Character, 'n', &focus), 0);
  EXPECT_EQ(dialog_key(ok, DialogKey::Tab, 0, &focus), 0);
  EXPECT_EQ(dialog_key(ok, DialogKey::Enter, 0, nullptr), IDOK);
}

TEST(MessageBoxRules, CodePage1252BecomesUtf8) {
  EXPECT_EQ(cp1252_to_utf8("k\xF6nnen"), "k\xC3\xB6nnen");
  EXPECT_EQ(cp1252_to_utf8("\x80\x9F\xA0\xFF"), "\xE2\x82\xAC\xC5\xB8\xC2\xA0\xC3\xBF");
  EXPECT_EQ(cp1252_to_utf8("\x81"), "\xEF\xBF\xBD");  // unassigned
  EXPECT_EQ(cp1252_to_utf8(nullptr), "");
  EXPECT_EQ(cp1252_to_unicode(0xF6), U'\u00F6');
}

TEST(MessageBoxRules, TerminalQuestion) {
  std::string printed;
  EXPECT_EQ(ask("\n", MB_YESNO, &printed), IDYES);
  EXPECT_NE(printed.find("MORV"), std::string::npos);
  EXPECT_NE(printed.find("k\xC3\xB6nnen? [J/n]"), std::string::npos);
  EXPECT_EQ(ask("ja\n", MB_YESNO), IDYES);
  EXPECT_EQ(ask("N\n", MB_YESNO), IDNO);
  EXPECT_EQ(ask("vielleicht\nn\n", MB_YESNO), IDNO);
  EXPECT_EQ(ask("", MB_YESNO), IDNO);  // end of input
  EXPECT_EQ(ask(std::string(200, 'x').append("\nj\n").c_str(), MB_YESNO), IDYES);
  EXPECT_EQ(ask("", MB_OK | MB_ICONWARNING, &printed), IDOK);
  EXPECT_NE(printed.find("[OK]"), std::string::npos);
  EXPECT_EQ(ask("n\n", MB_OK), IDOK);
}

TEST(MessageBoxRules, ReplacementTakesEveryCall) {
  set_message_box(counting_box);
  EXPECT_EQ(message_box("text", "caption", 0x24), 0x24);
  EXPECT_EQ(message_box(nullptr, nullptr, 0x30), 0x30);
  EXPECT_EQ(replacement_calls, 2);
  set_message_box(nullptr);
}
