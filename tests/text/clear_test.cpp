// Clearing the whole screen, the text window and the graphics view.
#include "gfx/draw/view.h"
#include "text_fixture.h"

namespace text_test {

namespace {

constexpr uint32_t OLD = 0xFF123456u;
constexpr uint32_t NEW_BACKGROUND = 0x00ABCDEFu;

class Clear : public TextTest {
 protected:
  // Every row of cells holds text and every pixel the colour OLD.
  void SetUp() override {
    TextTest::SetUp();
    for (int32_t r = 1; r <= 25; ++r) {
      zv::locate(r, 1, -1);
      print("row");
    }
    for (int32_t y = 0; y < 400; ++y)
      for (int32_t x = 0; x < 640; ++x) std::memcpy(gs()->pages[0] + y * 2560 + x * 4, &OLD, 4);
    zv::set_color(0xFFFFFF, static_cast<int32_t>(NEW_BACKGROUND), 0);
    clear_dirty();
  }
  // The pixel rows of the screen cleared to the new background, as first..last or none.
  static std::pair<int32_t, int32_t> cleared_rows(int32_t x) {
    int32_t first = -1, last = -1;
    for (int32_t y = 0; y < 400; ++y)
      if (pixel(x, y) == NEW_BACKGROUND) {
        if (first < 0) first = y;
        last = y;
      }
    return {first, last};
  }
};

TEST_F(Clear, DefaultModeWithATextWindowClearsOnlyItsRows) {
  ASSERT_NE(zv::view_print(5, 10, 1), 0);
  zv::clear_screen(zv::NOT_GIVEN);
  EXPECT_EQ(cleared_rows(300), std::make_pair(64, 159));
  EXPECT_EQ(cells(4, 1, 3), "row");
  EXPECT_EQ(cells(5, 1, 3), "   ");
  EXPECT_EQ(cells(10, 1, 3), "   ");
  EXPECT_EQ(cells(11, 1, 3), "row");
  EXPECT_EQ(zv::gfx_read_cell(1, 7, 2), static_cast<int32_t>(NEW_BACKGROUND));
  EXPECT_EQ(row(), 5);
  EXPECT_EQ(column(), 1);
  EXPECT_EQ(dirty_count(), 96);
  EXPECT_EQ(zv::runtime.console_channel.output_column, 0);
}

TEST_F(Clear, DefaultModeWithTheFullTextWindowClearsEverything) {
  context()->last_x = context()->last_y = 5;
  zv::locate(9, 9, -1);
  zv::clear_screen(zv::NOT_GIVEN);
  EXPECT_EQ(cleared_rows(639), std::make_pair(0, 399));
  EXPECT_EQ(cells(25, 1, 3), "   ");
  EXPECT_EQ(cells(1, 1, 3), "   ");
  EXPECT_EQ(row(), 1);
  EXPECT_EQ(column(), 1);
  EXPECT_EQ(context()->last_x, 320.0f);
  EXPECT_EQ(context()->last_y, 200.0f);
  EXPECT_EQ(dirty_count(), 400);
}

TEST_F(Clear, ModeZeroIgnoresTheTextWindowAndStartsAtItsTop) {
  ASSERT_NE(zv::view_print(5, 10, 1), 0);
  zv::clear_screen(zv::CLEAR_WHOLE_SCREEN);
  EXPECT_EQ(cleared_rows(0), std::make_pair(0, 399));
  EXPECT_EQ(cells(1, 1, 3), "   ");
  EXPECT_EQ(row(), 5);
}

TEST_F(Clear, ViewModeFillsTheClipRectangleOnly) {
  zv::view_set(100, 50, 199, 99, 0, 0, zv::VIEW_NO_BORDER | zv::VIEW_NO_FILL);
  zv::locate(9, 9, -1);
  zv::clear_screen(zv::NOT_GIVEN);  // a view is set: its rectangle
  EXPECT_EQ(cleared_rows(150), std::make_pair(50, 99));
  EXPECT_EQ(cleared_rows(99), std::make_pair(-1, -1));
  EXPECT_EQ(cleared_rows(200), std::make_pair(-1, -1));
  EXPECT_EQ(cells(4, 1, 3), "row") << "cells stay";
  EXPECT_EQ(row(), 9);
  EXPECT_EQ(context()->last_x, 150.0f);
  EXPECT_EQ(context()->last_y, 75.0f);
  EXPECT_EQ(dirty_count(), 50);
  // Unknown modes act like the view mode.
  zv::clear_screen(77);
  EXPECT_EQ(row(), 9);
}

TEST_F(Clear, EmptyViewClearsNothing) {
  zv::view_set(700, 500, 800, 600, 0, 0, zv::VIEW_NO_BORDER | zv::VIEW_NO_FILL);
  zv::clear_screen(zv::CLEAR_VIEW);
  EXPECT_EQ(cleared_rows(639), std::make_pair(-1, -1));
  EXPECT_EQ(dirty_count(), 0);
}

TEST_F(Clear, TextWindowModeFollowsTheFontHeight) {
  ASSERT_EQ(zv::set_width(80, 50), 0);  // 8 x 8 cells
  zv::locate(2, 1, -1);
  print("two");
  zv::locate(4, 1, -1);
  print("four");
  for (int32_t y = 0; y < 400; ++y) std::memcpy(gs()->pages[0] + y * 2560 + 40, &OLD, 4);
  ASSERT_NE(zv::view_print(2, 3, 1), 0);
  zv::clear_screen(zv::CLEAR_TEXT_WINDOW);
  EXPECT_EQ(cleared_rows(10), std::make_pair(8, 23));
  EXPECT_EQ(cells(2, 1, 3), "   ");
  EXPECT_EQ(cells(4, 1, 4), "four");
}

}  // namespace

}  // namespace text_test
