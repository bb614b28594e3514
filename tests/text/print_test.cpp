// Printing on a 640 x 400 screen of 32 bits with the 8 x 16 font, 80 x 25 cells.
#include <string>

#include "text_fixture.h"

namespace text_test {

namespace {

constexpr uint32_t WHITE = 0xFFFFFFFFu;  // the context's defaults on a 32-bit screen
constexpr uint32_t BLACK = 0xFF000000u;

using Print = TextTest;

TEST_F(Print, GlyphsAreDrawnOpaqueAndRecordedInTheirCells) {
  ASSERT_EQ(zv::locate(3, 5, -1), 0);
  print("Rx");
  EXPECT_TRUE(shows_glyph(5, 3, 'R', WHITE, BLACK));
  EXPECT_TRUE(shows_glyph(6, 3, 'x', WHITE, BLACK));
  EXPECT_EQ(cells(3, 5, 6), "Rx");
  EXPECT_EQ(column(), 7);
  // Over a painted background the whole cell is repainted.
  zv::set_color(0x00FF00, 0x0000FF, 0);
  zv::locate(3, 5, -1);
  print("A");
  EXPECT_TRUE(shows_glyph(5, 3, 'A', 0x00FF00, 0x0000FF));
  EXPECT_EQ(zv::gfx_read_cell(5, 3, 1), 0x00FF00);
  EXPECT_EQ(zv::gfx_read_cell(5, 3, 2), 0x0000FF);
}

TEST_F(Print, FullBottomRowParksTheCursorAndTheNextPrintScrollsFirst) {
  zv::locate(24, 1, -1);
  print("upper");
  zv::locate(25, 1, -1);
  print(std::string(80, 'b'));
  EXPECT_EQ(cells(25, 1, 80), std::string(80, 'b')) << "no scroll yet";
  EXPECT_EQ(cells(24, 1, 5), "upper");
  EXPECT_TRUE(pending());
  EXPECT_EQ(column(), 80);
  EXPECT_EQ(::zv::get_column(), 80);
  EXPECT_EQ(row(), 25);

  print("c");
  EXPECT_FALSE(pending());
  EXPECT_EQ(cells(24, 1, 80), std::string(80, 'b'));
  EXPECT_EQ(cells(25, 1, 2), "c ");
  EXPECT_EQ(cells(23, 1, 5), "upper");
  EXPECT_EQ(column(), 2);
  EXPECT_EQ(row(), 25);
}

TEST_F(Print, PendingLineFeedAloneIsCarriedOutByAnEmptyPrintWithFlag8) {
  zv::locate(25, 1, -1);
  print(std::string(80, 'q'));
  print("");  // nothing without the flag
  EXPECT_TRUE(pending());
  print("", zv::PRINT_NEWLINE_ONLY);
  EXPECT_FALSE(pending());
  EXPECT_EQ(cells(24, 1, 3), "qqq");
  EXPECT_EQ(cells(25, 1, 3), "   ");
  EXPECT_EQ(column(), 1);
  EXPECT_EQ(row(), 25);
}

TEST_F(Print, LineFeedOnTheBottomRowScrollsAtOnce) {
  zv::locate(25, 1, -1);
  print("last\n");
  EXPECT_EQ(cells(24, 1, 4), "last");
  EXPECT_EQ(cells(25, 1, 4), "    ");
  EXPECT_EQ(row(), 25);
  EXPECT_EQ(column(), 1);
  EXPECT_FALSE(pending());
}

TEST_F(Print, ScrollingMovesPixelsAndCellsTogether) {
  zv::set_color(0xFFFF00, 0x000080, 0);
  zv::locate(2, 1, -1);
  print("moved");
  zv::locate(1, 1, -1);
  print("gone");
  zv::set_color(0xFFFFFF, 0x102030, 0);
  zv::locate(25, 80, -1);
  clear_dirty();
  print("\n");  // scroll one row
  EXPECT_EQ(cells(1, 1, 5), "moved");
  EXPECT_TRUE(shows_glyph(1, 1, 'm', 0xFFFF00, 0x000080));
  EXPECT_TRUE(shows_glyph(5, 1, 'd', 0xFFFF00, 0x000080));
  EXPECT_EQ(zv::gfx_read_cell(1, 1, 1), 0xFFFF00);
  EXPECT_EQ(cells(2, 1, 4), "    ");
  // The row that came in is blank in the current background, cells included.
  for (int32_t y = 384; y < 400; ++y) EXPECT_EQ(pixel(100, y), 0x102030u);
  EXPECT_EQ(zv::gfx_read_cell(40, 25, 2), 0x102030);
  EXPECT_EQ(cell(40, 25), ' ');
  EXPECT_EQ(dirty_count(), 400) << "the whole window moved";
}

TEST_F(Print, ScrollingStaysInsideTheTextWindow) {
  zv::locate(1, 1, -1);
  print("header");
  zv::locate(20, 1, -1);
  print("footer");
  ASSERT_NE(zv::view_print(5, 10, 1), 0);
  print("five\n");
  zv::locate(10, 1, -1);
  print("ten\nnew");
  EXPECT_EQ(cells(1, 1, 6), "header");
  EXPECT_EQ(cells(20, 1, 6), "footer");
  EXPECT_EQ(cells(9, 1, 3), "ten");
  EXPECT_EQ(cells(10, 1, 3), "new");
  EXPECT_EQ(cells(4, 1, 4), "    ");
  EXPECT_TRUE(shows_glyph(1, 20, 'f', WHITE, BLACK));
}

TEST_F(Print, SingleByte255DrawsOnlyAnUnderline) {
  zv::locate(4, 10, -1);
  print("X");
  zv::locate(4, 10, -1);
  print("\xFF");
  const zv::FontInfo* font = gs()->font;
  const uint8_t* glyph = font->glyphs + size_t{'X'} * font->height;
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < 8; ++x)
      EXPECT_EQ(pixel(72 + x, 48 + y), (glyph[y] >> x) & 1 ? WHITE : BLACK) << "row " << y;
  for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(pixel(72 + x, 63), WHITE);
  EXPECT_EQ(cell(10, 4), 255);
  EXPECT_EQ(column(), 11);

  // With other characters it is an ordinary glyph.
  zv::locate(5, 1, -1);
  print("\xFF\xFF");
  EXPECT_TRUE(shows_glyph(1, 5, 255, WHITE, BLACK));
  EXPECT_TRUE(shows_glyph(2, 5, 255, WHITE, BLACK));
}

TEST_F(Print, EveryByteValueIsSafeAndOnlyFiveAreControls) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  zv::locate(1, 1, -1);
  print(all);
  // 0-6 at the top left; the backspace steps back over column 7 for the tab's two
  // spaces; the line feed returns the carriage, so 11 and 12 land at the start of row 2
  // and 14-255 overwrite them after the carriage return: 242 bytes end in row 5.
  EXPECT_EQ(cells(1, 1, 9), std::string("\x00\x01\x02\x03\x04\x05  ", 8) + " ");
  EXPECT_EQ(cell(1, 2), 14);
  EXPECT_EQ(cell(2, 5), 255);
  EXPECT_EQ(row(), 5);
  EXPECT_EQ(column(), 3);

  zv::locate(10, 1, -1);
  print("\x0b\x0c");
  EXPECT_EQ(cells(10, 1, 2), "\x0b\x0c");
  EXPECT_TRUE(shows_glyph(1, 10, 11, WHITE, BLACK));
  EXPECT_TRUE(shows_glyph(2, 10, 12, WHITE, BLACK));
  EXPECT_EQ(column(), 3);
}

TEST_F(Print, TextLongerThanARunAndTheScreenEndsWhereItShould) {
  std::string text;
  for (int i = 0; i < 5000; ++i) text += static_cast<char>('A' + i % 26);
  zv::locate(1, 1, -1);
  print(text);
  // 5000 = 62 full rows + 40: the last 24 full rows and the partial row stay.
  EXPECT_EQ(row(), 25);
  EXPECT_EQ(column(), 41);
  for (int32_t c = 1; c <= 40; ++c) EXPECT_EQ(cell(c, 25), 'A' + (62 * 80 + c - 1) % 26);
  EXPECT_EQ(cell(1, 1), 'A' + (38 * 80) % 26);
  EXPECT_TRUE(shows_glyph(40, 25, static_cast<uint8_t>('A' + (62 * 80 + 39) % 26), WHITE, BLACK));
}

TEST_F(Print, OnlyRowsOfTheVisiblePageAreMarked) {
  clear_dirty();
  zv::locate(3, 1, -1);
  print("abc");
  EXPECT_EQ(dirty_count(), 16);
  EXPECT_TRUE(gs()->dirty[32]);
  EXPECT_TRUE(gs()->dirty[47]);
  EXPECT_FALSE(gs()->dirty[48]);

  // Drawing on a hidden page marks nothing and records its cells on that page.
  zv::screen_exit_handler();
  ASSERT_EQ(zv::screen_set_mode(17, 32, 2, zv::SCREEN_NULL, 0), 0);
  zv::screen_set_pages(1, 0);
  clear_dirty();
  zv::locate(3, 1, -1);
  print("hidden");
  EXPECT_EQ(dirty_count(), 0);
  EXPECT_EQ(cells(3, 1, 6), "hidden");
  EXPECT_EQ(gs()->char_pages[0][2 * 80].character, uint32_t{' '});
}

TEST_F(Print, WideTextBecomesOneBytePerCharacter) {
  const uint16_t units[] = {'a', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 'z', 0xDBFF};
  zv::locate(6, 1, -1);
  zv::print_wide_text(units, 7, 0);
  EXPECT_EQ(cells(6, 1, 6), "a\xE9??z?");
  EXPECT_EQ(column(), 7);
}

TEST_F(Print, WideTextLongerThanARunEndingIn255StaysAGlyph) {
  std::u16string units(1024, u'w');
  units += u'\u00FF';
  zv::locate(1, 1, -1);
  zv::print_wide_text(reinterpret_cast<const uint16_t*>(units.data()), static_cast<int32_t>(units.size()), 0);
  EXPECT_TRUE(shows_glyph(65, 13, 255, WHITE, BLACK));
}

TEST_F(Print, PrintZonesThroughPrintString) {
  zv::runtime.console_channel.line_width = 80;
  zv::locate(2, 1, -1);
  zv::print_string(0, zv::str_temp_wrap_cstr("ab"), 2);
  EXPECT_EQ(column(), 15);
  zv::print_string(0, zv::str_temp_wrap_cstr("cd"), 2);
  EXPECT_EQ(column(), 29);
  EXPECT_EQ(cells(2, 1, 18), "ab            cd  ");
  zv::locate(2, 61, -1);
  zv::print_string(0, zv::str_temp_wrap_cstr(""), 2);  // beyond the last full zone: line end
  EXPECT_EQ(row(), 3);
  EXPECT_EQ(column(), 1);
  zv::print_string(0, zv::str_temp_wrap_cstr("end"), 1);
  EXPECT_EQ(row(), 4);
  EXPECT_EQ(cells(3, 1, 3), "end");
}

TEST_F(Print, BadArgumentsPrintNothing) {
  zv::locate(1, 1, -1);
  zv::gfx_print_text(nullptr, 10, 0);
  zv::gfx_print_text(reinterpret_cast<const uint8_t*>("abc"), -3, 0);
  zv::gfx_print_wide_text(nullptr, 4, 0);
  EXPECT_EQ(column(), 1);
  EXPECT_EQ(cell(1, 1), ' ');
}

}  // namespace

}  // namespace text_test
