// Line input and the line editor, driven by scripted keys posted into the key ring.
#include <cstring>
#include <string>
#include <vector>

#include "text_fixture.h"

namespace text_test {

namespace {

void keys(const std::string& typed) {
  for (unsigned char c : typed) key_script.push_back(c);
}
void key(int32_t code) { key_script.push_back(code); }

class LineInput : public TextTest {
 protected:
  // Line input through the hook into a string variable.
  std::string input(const char* prompt = nullptr, int32_t question = 0, int32_t newline = 0, int32_t* error = nullptr) {
    zv::StringDescriptor line{};
    zv::StringDescriptor* p = prompt ? zv::str_temp_wrap_cstr(prompt) : nullptr;
    const int32_t result = zv::runtime.hooks.line_input(p, &line, zv::STR_DESCRIPTOR, 0, question, newline);
    if (error) *error = result;
    std::string text(line.data ? line.data : "", static_cast<size_t>(zv::str_length(&line)));
    zv::str_free(&line);
    return text;
  }
};

TEST_F(LineInput, PromptQuestionMarkTypedTextAndLineEnd) {
  zv::locate(3, 1, -1);
  keys("Otto\r");
  int32_t error = -1;
  EXPECT_EQ(input("Name", 1, 1, &error), "Otto");
  EXPECT_EQ(error, 0);
  EXPECT_EQ(cells(3, 1, 11), "Name? Otto ");
  EXPECT_EQ(row(), 4);
  EXPECT_EQ(column(), 1);
  EXPECT_TRUE(key_script.empty());
}

TEST_F(LineInput, CursorKeysInsertionAndRemoval) {
  zv::locate(5, 1, -1);
  keys("abc");
  key(KEY_LEFT);
  key(KEY_LEFT);
  keys("X");  // aXbc
  key(KEY_END);
  keys("d");  // aXbcd
  key(KEY_HOME);
  key(KEY_DELETE);  // Xbcd
  key(KEY_RIGHT);
  keys("\b");  // bcd
  key(KEY_RIGHT);
  key(KEY_RIGHT);
  key(KEY_RIGHT);
  key(KEY_RIGHT);  // stops at the end
  keys("!\r");
  EXPECT_EQ(input(), "bcd!");
  EXPECT_EQ(cells(5, 1, 6), "bcd!  ") << "removed characters are wiped and no cursor is left";
  EXPECT_EQ(column(), 5) << "the cursor ends after the text";
}

TEST_F(LineInput, BackspaceAtTheStartDeleteAtTheEndAndEscape) {
  zv::locate(6, 1, -1);
  keys("\bxy");
  key(KEY_DELETE);  // at the end: only a beep
  key(KEY_HOME);
  keys("\b");
  key(27);
  keys("new\r");
  EXPECT_EQ(input(), "new");
  EXPECT_EQ(cells(6, 1, 4), "new ");
}

TEST_F(LineInput, TabInsertsSpacesToTheNextMultipleOfEight) {
  zv::locate(7, 1, -1);
  keys("ab\tc");
  key(KEY_HOME);
  keys("\t\r");
  EXPECT_EQ(input(), "        ab      c");
}

TEST_F(LineInput, UpAndDownMoveByAScreenRowWithinTheText) {
  zv::locate(2, 1, -1);
  keys(std::string(100, 'a'));
  key(KEY_UP);
  keys("U");  // at 20
  key(KEY_UP);  // 21 - 80 < 0: stays
  keys("V");    // at 21
  key(KEY_DOWN);  // 102 within 102 characters
  keys("D");
  key(KEY_DOWN);  // beyond the end: stays
  keys("E\r");
  const std::string line = input();
  ASSERT_EQ(line.size(), 104u);
  EXPECT_EQ(line.substr(19, 4), "aUVa");
  EXPECT_EQ(line.substr(100), "aaDE");
  EXPECT_EQ(cells(3, 21, 25), "aaDE ");
}

TEST_F(LineInput, TextWrappingPastTheBottomScrollsAndStaysEditable) {
  zv::locate(25, 71, -1);
  keys("0123456789ABCDEFGHIJ");
  key(KEY_HOME);
  keys("Z\r");
  EXPECT_EQ(input(), "Z0123456789ABCDEFGHIJ");
  EXPECT_EQ(cells(24, 71, 80), "Z012345678");
  EXPECT_EQ(cells(25, 1, 12), "9ABCDEFGHIJ ");
  for (int32_t c = 1; c <= 80; ++c) EXPECT_NE(cell(c, 25), 255) << "no cursor left behind";
}

TEST_F(LineInput, AFullBottomRowMovesTheCursorToTheNextRow) {
  zv::locate(25, 1, -1);
  keys(std::string(80, 'r'));
  keys("\r");
  EXPECT_EQ(input(), std::string(80, 'r'));
  EXPECT_EQ(cells(24, 1, 80), std::string(80, 'r'));
  EXPECT_EQ(cells(25, 1, 2), "  ");
  EXPECT_EQ(row(), 25);
  EXPECT_EQ(column(), 1);
}

TEST_F(LineInput, MoreKeysThanTheBufferHoldsAreDropped) {
  zv::locate(8, 1, -1);
  char buffer[5] = {};
  keys("abcdefghij\r");
  EXPECT_EQ(zv::edit_line(buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(cells(8, 1, 5), "abcd ");

  keys(std::string(2000, 'w') + "\r");
  const std::string line = input();
  EXPECT_EQ(line.size(), 1023u);
}

TEST_F(LineInput, EditLineStartsFromTheTextInTheBuffer) {
  zv::locate(9, 1, -1);
  char buffer[16] = "start";
  keys("\b!\r");
  EXPECT_EQ(zv::edit_line(buffer, sizeof buffer), 5);
  EXPECT_STREQ(buffer, "star!");
  EXPECT_EQ(cells(9, 1, 6), "star! ");
  EXPECT_EQ(zv::edit_line(nullptr, 10), -1);
  EXPECT_EQ(zv::edit_line(buffer, 0), -1);
}

TEST_F(LineInput, ClosingTheWindowGivesNoLine) {
  zv::StringDescriptor line{};
  zv::str_assign(&line, zv::STR_DESCRIPTOR, "before", 0, 0);
  keys("abc");
  key(zv::KEY_CLOSE);
  EXPECT_EQ(zv::runtime.hooks.line_input(nullptr, &line, zv::STR_DESCRIPTOR, 0, 0, 0), zv::ERR_NO_INPUT_LINE);
  EXPECT_EQ(zv::get_error(), zv::ERR_NO_INPUT_LINE);
  EXPECT_STREQ(line.data, "before");
  zv::str_free(&line);
}

TEST_F(LineInput, FixedDestinationsOfSizeOneAndZero) {
  char one[1] = {'x'};
  keys("abc\r");
  EXPECT_EQ(zv::runtime.hooks.line_input(nullptr, one, 1, 0, 0, 0), 0);
  EXPECT_EQ(one[0], 0);

  char guarded[4] = {'g', 'g', 'g', 'g'};
  keys("abc\r");
  EXPECT_EQ(zv::runtime.hooks.line_input(zv::str_temp_wrap_cstr("p"), guarded, 0, 0, 0, 0), zv::ERR_ILLEGAL_CALL);
  EXPECT_EQ(std::string(guarded, 4), "gggg");
  EXPECT_EQ(key_script.size(), 4u) << "no key was read";
  EXPECT_EQ(zv::temp_desc_in_use(), 0) << "the prompt was released";
  EXPECT_EQ(zv::runtime.hooks.line_input(nullptr, nullptr, zv::STR_DESCRIPTOR, 0, 0, 0), zv::ERR_ILLEGAL_CALL);

  char fixed[6];
  std::memset(fixed, 'z', sizeof fixed);
  key_script.clear();
  keys("abcdefgh\r");
  EXPECT_EQ(zv::runtime.hooks.line_input(nullptr, fixed, 6, 1, 0, 0), 0);
  EXPECT_STREQ(fixed, "abcde");
}

TEST_F(LineInput, WidePromptIsPrintedAsSixteenBitText) {
  zv::locate(10, 1, -1);
  const uint16_t prompt[] = {'W', 0x263A, 'o', 0};
  char line[8];
  keys("k\r");
  EXPECT_EQ(zv::runtime.hooks.line_input_wide(prompt, line, sizeof line, 0, 1, 0), 0);
  EXPECT_STREQ(line, "k");
  EXPECT_EQ(cells(10, 1, 6), "W?o? k");
}

class ReadLine : public TextTest {
 protected:
  std::string read(int32_t capacity) {
    std::vector<char> buffer(static_cast<size_t>(capacity) + 1, '#');
    char* result = zv::runtime.hooks.read_line(buffer.data(), capacity);
    EXPECT_EQ(result, buffer.data());
    EXPECT_EQ(buffer[static_cast<size_t>(capacity)], '#') << "nothing beyond the capacity";
    return buffer.data();
  }
};

TEST_F(ReadLine, StoresKeysWithTheFinalReturnAndEchoesThem) {
  zv::locate(4, 1, -1);
  keys("ab\bc");
  key(KEY_LEFT);  // extended keys are ignored
  keys("\a\r");
  EXPECT_EQ(read(16), "ac\r");
  EXPECT_EQ(cells(4, 1, 3), "ac ") << "the block is gone";
  EXPECT_EQ(column(), 1) << "the return echoes as a carriage return";
}

TEST_F(ReadLine, FullBufferIgnoresFurtherCharacters) {
  zv::locate(4, 1, -1);
  keys("abcd\r");
  EXPECT_EQ(read(3), "ab");
  keys("xyz\r");
  EXPECT_EQ(read(1), "");
  EXPECT_EQ(zv::gfx_read_line(nullptr, 5), nullptr);
}

TEST_F(ReadLine, BackspaceShowsTheBlockOnTheCellBefore) {
  zv::locate(4, 1, -1);
  keys("xy\b\r");
  EXPECT_EQ(read(8), "x\r");
  EXPECT_EQ(cells(4, 1, 3), "x  ");
}

}  // namespace

}  // namespace text_test
