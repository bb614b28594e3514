// The console text driver's rules against an in-memory console: printing and its
// scrolling rule, the text window, cursor, colours, clearing, width, pages, queries, and
// output that is not a console.
#include "console/fake_console.h"
#include "gfx/text/graphics_text.h"
#include "input/keys.h"

using namespace zv;
using fake::console;
using fake::row_text;

namespace {

class ConsoleOutput : public fake::ConsoleTest {};

int32_t cursor_row() {
  int32_t column = 0, row = 0;
  get_cursor(&column, &row);
  return row;
}

}  // namespace

TEST_F(ConsoleOutput, PrintsRunsWithTheAttributeAndMovesTheCursor) {
  set_color(14, 1, 0);
  print("Hi\tthere\r\nnext");
  EXPECT_EQ(row_text(0, 0, 0, 12), "Hi      there");
  EXPECT_EQ(row_text(0, 1, 0, 3), "next");
  EXPECT_EQ(fake::attribute_at(0, 0, 0), 0x1E);
  EXPECT_EQ(fake::attribute_at(0, 20, 0), 7) << "cells not printed keep theirs";
  int32_t column = 0, row = 0;
  get_cursor(&column, &row);
  EXPECT_EQ(column, 5);
  EXPECT_EQ(row, 2);
  EXPECT_EQ(console.plain, "") << "a console gets no plain bytes";
}

// The window follows the text while the buffer has rows below it; then the buffer scrolls.
TEST_F(ConsoleOutput, PastTheBottomTheWindowMovesDownThenTheBufferScrolls) {
  make(80, 30, 80, 25);
  for (int i = 0; i < 27; ++i) print(("line " + std::to_string(i) + "\n").c_str());
  const CellPage& p = console.pages[0];
  EXPECT_EQ(p.window.top, 3) << "27 line feeds from row 0 move a 25-row window down by 3";
  EXPECT_EQ(row_text(0, 0, 0, 5), "line 0") << "no buffer scroll yet";
  EXPECT_EQ(cursor_row(), 25) << "the cursor stands on the window's last row";
  for (int i = 27; i < 31; ++i) print(("line " + std::to_string(i) + "\n").c_str());
  EXPECT_EQ(p.window.top, 5) << "the window stops at the buffer's end";
  EXPECT_EQ(row_text(0, 0, 0, 5), "line 2") << "then the buffer scrolls";
  EXPECT_EQ(row_text(0, 28, 0, 6), "line 30");
  EXPECT_EQ(row_text(0, 29, 0, 3), "    ");
}

TEST_F(ConsoleOutput, APartialTextWindowScrollsOnlyItsRows) {
  make(80, 50, 80, 25);
  print("title");
  locate(25, 1, -1);
  print("footer");
  view_print(3, 10, 1);
  for (int i = 1; i <= 12; ++i) print(("row " + std::to_string(i) + "\n").c_str());
  const CellPage& p = console.pages[0];
  EXPECT_EQ(p.window.top, 0) << "a partial window never moves the console window";
  EXPECT_EQ(row_text(0, 0, 0, 4), "title");
  EXPECT_EQ(row_text(0, 24, 0, 5), "footer");
  EXPECT_EQ(row_text(0, 2, 0, 4), "row 6");
  EXPECT_EQ(row_text(0, 8, 0, 5), "row 12");
  EXPECT_EQ(row_text(0, 9, 0, 5), "      ") << "the line feed on the bottom row scrolled at once";
  EXPECT_EQ(row_text(0, 10, 0, 3), "    ");
  EXPECT_EQ(cursor_row(), 10);
}

TEST_F(ConsoleOutput, TextEndingOnTheLastCellWaitsForTheNextPrintToScroll) {
  make(80, 25, 80, 25);
  view_print(1, 25, 0);
  locate(25, 1, -1);
  print(std::string(80, 'x').c_str());
  EXPECT_EQ(row_text(0, 24, 79, 79), "x");
  int32_t column = 0, row = 0;
  get_cursor(&column, &row);
  EXPECT_EQ(column, 80) << "parked on the last cell";
  EXPECT_EQ(row, 25);
  EXPECT_EQ(row_text(0, 23, 0, 0), " ") << "nothing scrolled yet";
  print("y");
  EXPECT_EQ(row_text(0, 23, 0, 0), "x");
  EXPECT_EQ(row_text(0, 24, 0, 1), "y ");
}

TEST_F(ConsoleOutput, LocateResultVisibilityAndErrors) {
  int32_t result = 0;
  EXPECT_EQ(locate(5, 10, 0, &result), 0);
  EXPECT_EQ(result, 10 + 256 * 5 + 65536) << "visible before";
  EXPECT_FALSE(console.pages[0].cursor_visible);
  EXPECT_EQ(console.pages[0].cursor_x, 9);
  EXPECT_EQ(locate(0, 3, -1, &result), 0);
  EXPECT_EQ(result, 3 + 256 * 5) << "row kept, hidden before";
  EXPECT_EQ(locate(26, 1, 1), ERR_ILLEGAL_CALL);
  EXPECT_EQ(locate(1, 81, 1), ERR_ILLEGAL_CALL);
  EXPECT_EQ(console.pages[0].cursor_x, 2) << "a refused locate moves nothing";
  EXPECT_FALSE(console.pages[0].cursor_visible);
}

TEST_F(ConsoleOutput, WindowRelativeCoordinatesInAMovedWindow) {
  make(80, 100, 80, 25, 40);
  locate(2, 3, -1);
  EXPECT_EQ(console.pages[0].cursor_y, 41);
  EXPECT_EQ(console.pages[0].cursor_x, 2);
  EXPECT_EQ(get_column(), 3);
  EXPECT_EQ(cursor_row(), 2);
  clear_screen(0);
  EXPECT_EQ(console.pages[0].cursor_y, 40);
}

TEST_F(ConsoleOutput, ColoursAreAttributesAndReturnThePreviousPair) {
  EXPECT_EQ(set_color(12, 3, 0), 7);
  EXPECT_EQ(console.pages[0].attribute, 0x3C);
  EXPECT_EQ(set_color(1, 0, COLOR_KEEP_BACKGROUND), 12 + 65536 * 3);
  EXPECT_EQ(set_color(0, 9, COLOR_KEEP_FOREGROUND), 1 + 65536 * 3);
  EXPECT_EQ(console.pages[0].attribute, 0x91);
  EXPECT_EQ(set_color(31, 20, 0), 1 + 65536 * 9);
  EXPECT_EQ(console.pages[0].attribute, 0x4F) << "colour numbers are taken modulo 16";
}

TEST_F(ConsoleOutput, ClearModes) {
  for (int i = 0; i < 25; ++i) {
    locate(i + 1, 1, -1);
    print("#");
  }
  set_color(7, 4, 0);
  view_print(5, 8, 0);
  clear_screen(1);
  EXPECT_EQ(row_text(0, 4, 0, 0), "#") << "mode 1 does nothing";
  clear_screen(NOT_GIVEN);
  EXPECT_EQ(row_text(0, 3, 0, 0), "#");
  EXPECT_EQ(row_text(0, 4, 0, 0), " ");
  EXPECT_EQ(row_text(0, 7, 0, 0), " ");
  EXPECT_EQ(row_text(0, 8, 0, 0), "#");
  EXPECT_EQ(fake::attribute_at(0, 79, 6), 0x47) << "cleared in the current attribute";
  EXPECT_EQ(cursor_row(), 5);
  clear_screen(0);
  EXPECT_EQ(row_text(0, 0, 0, 0), " ");
  EXPECT_EQ(row_text(0, 24, 0, 0), " ");
  EXPECT_EQ(cursor_row(), 1);
}

TEST_F(ConsoleOutput, WidthResizesEveryPageAndFreezesTheGeometry) {
  make(80, 300, 80, 25, 10);
  console.largest_x = 100;
  console.largest_y = 40;
  page_set(1, 0);
  page_set(0, 0);
  EXPECT_EQ(set_width(0, 0), 80 + 65536 * 25);
  EXPECT_EQ(set_width(120, 50), 0) << "the wrapper reports 0 for a change";
  for (int page = 0; page < 2; ++page) {
    EXPECT_EQ(console.pages[page].size_x, 120) << page;
    EXPECT_EQ(console.pages[page].size_y, 50) << page;
    EXPECT_EQ(console.pages[page].window.top, 0) << page;
    EXPECT_EQ(console.pages[page].window.right, 99) << "limited to the largest window";
    EXPECT_EQ(console.pages[page].window.bottom, 39);
  }
  EXPECT_EQ(console_hooks().set_width(0, 0), 100 + 65536 * 40);
  EXPECT_EQ(runtime.console_channel.line_width, 120);
  // Later geometry changes are not re-read.
  console.pages[0].window = {0, 0, 49, 19};
  view_update();
  int32_t columns = 0, rows = 0;
  get_size(&columns, &rows);
  EXPECT_EQ(columns, 100);
  EXPECT_EQ(rows, 40);
}

TEST_F(ConsoleOutput, WidthShrinksTheWindowBeforeTheBuffer) {
  make(80, 25, 80, 25);
  EXPECT_EQ(set_width(40, 12), 0);
  EXPECT_EQ(console.pages[0].size_x, 40) << "the buffer could only shrink after its window";
  EXPECT_EQ(console.pages[0].size_y, 12);
  EXPECT_EQ(console_hooks().set_width(-1, 0), 40 + 65536 * 12);
}

// A console coordinate is 16 bits wide: larger sizes stop there, and the packed result stays in range.
constexpr int32_t largest_console_extent = 32767;

TEST_F(ConsoleOutput, HugeSizesStopAtTheLargestConsoleCoordinate) {
  EXPECT_EQ(set_width(INT32_MAX, 324364615), 0);
  EXPECT_EQ(console.pages[0].size_x, largest_console_extent);
  EXPECT_EQ(console.pages[0].size_y, largest_console_extent);
}

TEST_F(ConsoleOutput, HugeSizesWithoutAConsoleStopThereToo) {
  console.is_console = false;
  EXPECT_EQ(set_width(INT32_MAX, 324364615), 0);
  EXPECT_EQ(console_hooks().set_width(0, 0), largest_console_extent + 65536 * largest_console_extent);
}

TEST_F(ConsoleOutput, PagesAreMadeOnFirstUseAndShown) {
  print("page zero");
  EXPECT_EQ(page_set(1, 1), 0);
  EXPECT_TRUE(console.pages[1].exists);
  EXPECT_EQ(console.active, 1);
  print("page one");
  EXPECT_EQ(row_text(1, 0, 0, 7), "page one");
  EXPECT_EQ(row_text(0, 0, 0, 8), "page zero");
  EXPECT_EQ(page_set(2, -1), 1 + 256 * 1);
  EXPECT_FALSE(console.pages[1].cursor_visible) << "work and visible page differ: cursors hidden";
  EXPECT_FALSE(console.pages[2].cursor_visible);
  EXPECT_EQ(console.active, 1);
  EXPECT_EQ(page_set(0, 0), 2 + 256 * 1);
  EXPECT_EQ(console.active, 0);
  EXPECT_EQ(page_set(4, 0), -1) << "the console has pages 0 to 3";
  EXPECT_EQ(page_set(5, 0), -1);
  console.page_creation_fails = true;
  EXPECT_EQ(page_set(3, 3), -1);
  EXPECT_EQ(page_set(-1, -1), 0) << "nothing changed";
}

TEST_F(ConsoleOutput, UnreadableBufferFallsBackToPlainBytes) {
  console.is_console = false;
  const char bytes[] = "a\tb\x07\x08\r\n\x0c\xff end";
  print_text(reinterpret_cast<const uint8_t*>(bytes), sizeof bytes - 1, 0);
  EXPECT_EQ(console.plain, std::string(bytes, sizeof bytes - 1));
  int32_t columns = 0, rows = 0;
  get_size(&columns, &rows);
  EXPECT_EQ(columns, 80);
  EXPECT_EQ(rows, 25);
  EXPECT_EQ(locate(3, 7, -1), 0);
  EXPECT_EQ(get_column(), 7);
  clear_screen(0);
  EXPECT_EQ(console.plain.size(), sizeof bytes - 1) << "clearing writes nothing";
  EXPECT_EQ(page_set(1, 1), 0);
  EXPECT_FALSE(console.pages[1].exists);
}

TEST_F(ConsoleOutput, AFailedPlainWriteIsAnErrorNotACrash) {
  console.is_console = false;
  console.plain_write_fails = true;
  set_error(0);
  print("lost");
  EXPECT_EQ(get_error(), ERR_ILLEGAL_CALL);
}

TEST_F(ConsoleOutput, WideTextPrintsOneBytePerCharacter) {
  const uint16_t units[] = {'A', 0xE9, 0x263A, 0xD83D, 0xDE00, 'z'};
  print_wide_text(units, 6, 0);
  EXPECT_EQ(row_text(0, 0, 0, 4), "A\xE9??z");
}

TEST_F(ConsoleOutput, LineInputReadsStandardInputWhenInputIsNoConsole) {
  console.input_is_console = false;
  console.lines = {"typed line"};
  StringDescriptor line{};
  EXPECT_EQ(runtime.hooks.line_input ? 1 : 0, 0);
  EXPECT_EQ(line_input(str_temp_wrap_cstr("Name"), &line, STR_DESCRIPTOR, 0, 1, 1), 0);
  EXPECT_EQ(std::string(line.data, str_length(&line)), "typed line");
  EXPECT_EQ(row_text(0, 0, 0, 5), "Name? ");
  EXPECT_EQ(line_input(nullptr, &line, STR_DESCRIPTOR, 0, 0, 0), ERR_NO_INPUT_LINE) << "end of input";
  EXPECT_EQ(line_input(nullptr, nullptr, 0, 0, 0, 0), ERR_ILLEGAL_CALL);
  str_free(&line);
}

TEST_F(ConsoleOutput, LineInputEditsOnTheConsole) {
  for (const char c : std::string("Bob"))
    console.events.push_back(fake::key_down(static_cast<uint16_t>(toupper(c)), 0, static_cast<uint8_t>(c), 0));
  console.events.push_back(fake::key_down(0x25, 75, 0, MOD_ENHANCED));  // Left
  console.events.push_back(fake::key_down('X', 45, 'x', 0));
  console.events.push_back(fake::key_down(0x0D, 28, 13, 0));
  char buffer[32] = {};
  EXPECT_EQ(line_input(str_temp_wrap_cstr("Name"), buffer, sizeof buffer, 0, 0, 1), 0);
  EXPECT_STREQ(buffer, "Boxb");
  EXPECT_EQ(row_text(0, 0, 0, 8), "NameBoxb ") << "the editor's cursor is gone";
  EXPECT_EQ(cursor_row(), 2) << "line end after the input";
}
