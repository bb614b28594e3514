// Cursor placement, the text grid and its fonts, cell read-back and the text colours.
#include "gfx/draw/view.h"
#include "text_fixture.h"

namespace text_test {

namespace {

using Grid = TextTest;

TEST_F(Grid, LocateMovesWithinTheTextWindowOnly) {
  int32_t result = 0;
  EXPECT_EQ(zv::locate(3, 7, -1, &result), 0);
  EXPECT_EQ(result, 2 * 256 + 6 + 257);
  EXPECT_EQ(zv::locate(0, 5, -1), 0);
  EXPECT_EQ(row(), 3) << "row 0 keeps the row";
  EXPECT_EQ(column(), 5);
  EXPECT_EQ(zv::locate(9, 0, -1), 0);
  EXPECT_EQ(column(), 5);
  EXPECT_EQ(zv::runtime.console_channel.output_column, 4);

  for (auto [r, c] : {std::pair{26, 1}, {1, 81}, {-1, 1}, {1, -1}, {INT32_MIN, INT32_MAX}}) {
    EXPECT_EQ(zv::locate(r, c, -1), 1) << r << "," << c;
    EXPECT_EQ(zv::get_error(), 1);
    EXPECT_EQ(row(), 9);
    EXPECT_EQ(column(), 5);
  }
  ASSERT_NE(zv::view_print(5, 10, 1), 0);
  EXPECT_EQ(zv::locate(11, 1, -1), 1) << "below the text window";
  EXPECT_EQ(zv::locate(4, 1, -1), 1) << "above the text window";
  EXPECT_EQ(row(), 5);
  // Called directly, the graphics locate still keeps the cursor on the screen.
  zv::gfx_locate(26, 81, 0);
  EXPECT_EQ(row(), 5);
  EXPECT_EQ(column(), 1);
}

TEST_F(Grid, LocateAndClearCancelAPendingLineFeed) {
  zv::locate(25, 1, -1);
  print(std::string(80, 'p'));
  ASSERT_TRUE(pending());
  zv::locate(25, 3, -1);
  EXPECT_FALSE(pending());
  print("Q");
  EXPECT_EQ(cells(25, 1, 4), "ppQp");
}

TEST_F(Grid, QueriesReportTheOneBasedCursorAndTheGrid) {
  zv::locate(12, 34, -1);
  int32_t c = 0, r = 0;
  zv::get_cursor(&c, &r);
  EXPECT_EQ(c, 34);
  EXPECT_EQ(r, 12);
  EXPECT_EQ(zv::gfx_get_row(), 12);
  EXPECT_EQ(zv::get_column(), 34);
  zv::get_cursor(nullptr, nullptr);
  zv::get_size(&c, &r);
  EXPECT_EQ(c, 80);
  EXPECT_EQ(r, 25);
}

TEST_F(Grid, CursorBackWrapsToTheRowAbove) {
  zv::locate(2, 1, -1);
  zv::cursor_back();
  EXPECT_EQ(row(), 1);
  EXPECT_EQ(column(), 80);
  zv::locate(1, 1, -1);
  zv::cursor_back();
  EXPECT_EQ(gs()->cursor_y, -1);
  // A parked cursor already stands one cell back from where printing would go on.
  zv::locate(25, 1, -1);
  print(std::string(80, 'z'));
  zv::cursor_back();
  EXPECT_FALSE(pending());
  EXPECT_EQ(column(), 80);
  EXPECT_EQ(row(), 25);
}

TEST_F(Grid, Width80By50Selects8x8AndWidth80By30ChangesNothing) {
  print("old text");
  const zv::CharCell* before = gs()->char_pages[0];
  EXPECT_EQ(zv::set_width(80, 30), 0);
  EXPECT_EQ(gs()->font, &zv::font_8x16);
  EXPECT_EQ(gs()->text_h, 25);
  EXPECT_EQ(gs()->char_pages[0], before);
  EXPECT_EQ(cells(1, 1, 3), "old");

  EXPECT_EQ(zv::gfx_set_width(0, 0), 80 + 65536 * 25);
  EXPECT_EQ(zv::set_width(80, 50), 0);
  EXPECT_EQ(gs()->font, &zv::font_8x8);
  int32_t c = 0, r = 0;
  zv::get_size(&c, &r);
  EXPECT_EQ(c, 80);
  EXPECT_EQ(r, 50);
  EXPECT_EQ(zv::view_bottom(), 49) << "the text window is the new screen";
  EXPECT_EQ(cells(1, 1, 3), "   ") << "cleared";
  EXPECT_EQ(row(), 1);
  zv::locate(50, 80, -1);
  print("E");
  EXPECT_EQ(cell(80, 50), 'E');
  EXPECT_TRUE(shows_glyph(80, 50, 'E', 0xFFFFFFFFu, 0xFF000000u));

  EXPECT_EQ(zv::gfx_set_width(0, 25), 80 + 65536 * 50) << "rows alone: 8 x 16 again";
  EXPECT_EQ(gs()->font, &zv::font_8x16);
  EXPECT_EQ(zv::gfx_set_width(0, 0), 80 + 65536 * 25);
  EXPECT_EQ(zv::set_width(0, 28), 0);
  EXPECT_EQ(gs()->font, &zv::font_8x14);
}

TEST_F(Grid, WidthResetsTheGraphicsView) {
  zv::view_set(10, 10, 20, 20, 0, 0, zv::VIEW_NO_BORDER | zv::VIEW_NO_FILL);
  ASSERT_TRUE(context()->flags & zv::DC_VIEW);
  zv::set_width(80, 50);
  EXPECT_FALSE(context()->flags & zv::DC_VIEW);
  EXPECT_EQ(context()->view_w, 640);
  EXPECT_EQ(context()->view_h, 400);
}

TEST_F(Grid, WidthsWithoutAFontChangeNothing) {
  print("keep");
  const zv::CharCell* before = gs()->char_pages[0];
  // On 640 x 400 none of these gives 8-pixel-wide cells of 8, 14 or 16 rows.
  const int32_t sizes[] = {INT32_MIN, -1, 0, 1, 7, 40, 81, 100, 160, 401, 641, INT32_MAX};
  for (int32_t columns : sizes)
    for (int32_t rows : sizes) {
      EXPECT_EQ(zv::gfx_set_width(columns, rows), 80 + 65536 * 25) << columns << " x " << rows;
      ASSERT_EQ(gs()->font, &zv::font_8x16) << columns << " x " << rows;
      ASSERT_EQ(gs()->text_w, 80);
      ASSERT_EQ(gs()->text_h, 25);
    }
  EXPECT_EQ(gs()->char_pages[0], before);
  EXPECT_EQ(cells(1, 1, 4), "keep");
}

TEST_F(Grid, ReadCellGivesCharacterAndColoursAndZeroOutside) {
  zv::set_color(0x123456, 0x654321, 0);
  zv::locate(7, 9, -1);
  print("\xC8");
  EXPECT_EQ(zv::gfx_read_cell(9, 7, 0), 200);
  EXPECT_EQ(zv::gfx_read_cell(9, 7, 1), 0x123456);
  EXPECT_EQ(zv::gfx_read_cell(9, 7, 2), 0x654321);
  for (auto [c, r] : {std::pair{0, 1}, {1, 0}, {81, 1}, {1, 26}, {-5, -5}, {INT32_MAX, INT32_MIN}})
    EXPECT_EQ(zv::gfx_read_cell(c, r, 0), 0) << c << "," << r;
}

TEST_F(Grid, ColoursOnAnEightBitScreenPackIntoOneWord) {
  open(13, 0);
  EXPECT_EQ(zv::set_color(0x1234, 0x0102, 0), 15) << "defaults: 15 on 0";
  EXPECT_EQ(context()->fg_colour, 0x34u);
  EXPECT_EQ(context()->bg_colour, 0x02u);
  EXPECT_EQ(zv::set_color(9, 0, zv::COLOR_KEEP_BACKGROUND), 0x02 * 65536 + 0x34);
  EXPECT_EQ(context()->bg_colour, 0x02u);
  zv::locate(1, 1, -1);
  print("a");
  EXPECT_EQ(zv::gfx_read_cell(1, 1, 1), 9 + 2 * 256);
}

TEST_F(Grid, ColoursOnASixteenBitScreenAreConvertedAndExpandedBack) {
  open(18, 16);
  zv::set_color(0xFF8040, 0x00FF00, 0);
  EXPECT_EQ(context()->fg_colour, 0xFC08u);  // 5-6-5
  EXPECT_EQ(zv::set_color(0, 0, zv::COLOR_KEEP_FOREGROUND | zv::COLOR_KEEP_BACKGROUND),
            static_cast<int32_t>(0xFFFF8242u));
  zv::locate(1, 1, -1);
  print("a");
  EXPECT_EQ(zv::gfx_read_cell(1, 1, 2), static_cast<int32_t>(0xFF00FF00u));
}

TEST_F(Grid, SixteenColourModesKeepTheBackgroundInThePalette) {
  open(9, 0);
  zv::set_color(0x1E, 0x3F, 0);
  EXPECT_EQ(context()->fg_colour, 0x0Eu);
  EXPECT_EQ(context()->bg_colour, 0u);
  EXPECT_EQ(gs()->colour_map[0], 0x3F);
  zv::locate(1, 1, -1);
  print("a");
  EXPECT_EQ(zv::gfx_read_cell(1, 1, 1), 0x0E) << "foreground + background x 16";
}

TEST_F(Grid, FourColourModeSetsPaletteSetAndScreenBackground) {
  open(1, 0);
  const uint32_t fg = context()->fg_colour;
  zv::set_color(1, 0, 0);  // background 0: the fourth set; foreground 1: entry 0 blue
  EXPECT_EQ(context()->fg_colour, fg) << "the drawing colours stay";
  EXPECT_EQ(gs()->colour_map[1], 2);
  EXPECT_EQ(gs()->colour_map[0], 1);
  zv::set_color(0, 3, zv::COLOR_KEEP_FOREGROUND);  // background 3: the first set
  EXPECT_EQ(gs()->colour_map[1], 11);
  EXPECT_EQ(gs()->colour_map[0], 0);
}

}  // namespace

}  // namespace text_test
