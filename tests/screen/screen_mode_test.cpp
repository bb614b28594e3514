#include <cstring>

#include "gfx/core/draw_context.h"
#include "gfx/text/fonts.h"
#include "screen_fixture.h"

using namespace zv;
using test::fake_opens;
using test::fake_state;

TEST(ModeTable, RowsMatchTheirModes) {
  EXPECT_EQ(mode_info(0), nullptr);
  EXPECT_EQ(mode_info(22), nullptr);
  EXPECT_EQ(mode_info(-1), nullptr);
  for (int mode = 3; mode <= 6; ++mode) EXPECT_EQ(mode_info(mode)->width, 0) << mode;
  const ModeInfo* m2 = mode_info(2);
  EXPECT_EQ(m2->scanline_size, 2);
  EXPECT_EQ(m2->depth, 1);
  EXPECT_EQ(mode_info(12)->palette, &palette_256);
  EXPECT_EQ(mode_info(12)->depth, 4);
  EXPECT_EQ(mode_info(9)->palette, &palette_64);
  EXPECT_EQ(mode_info(9)->font, &font_8x14);
  const ModeInfo* m21 = mode_info(21);
  EXPECT_EQ(m21->width, 1280);
  EXPECT_EQ(m21->height, 1024);
  EXPECT_EQ(m21->text_w, 160);
  EXPECT_EQ(m21->text_h, 64);
}

TEST_F(ScreenTest, SaverModeOpensFullScreenThirtyTwoBit) {
  ASSERT_EQ(screen_set_mode(17, 32, 0, 5, 0), 0);
  ASSERT_NE(gs(), nullptr);
  EXPECT_EQ(gs()->width, 640);
  EXPECT_EQ(gs()->height, 400);
  EXPECT_EQ(gs()->depth, 32);
  EXPECT_EQ(gs()->bytes_per_pixel, 4);
  EXPECT_EQ(gs()->pitch, 2560);
  EXPECT_EQ(gs()->num_pages, 1);
  EXPECT_EQ(gs()->colour_mask, 0xFFFFFFFFu);
  EXPECT_EQ(gs()->text_w, 80);
  EXPECT_EQ(gs()->text_h, 25);
  EXPECT_EQ(gs()->font, &font_8x16);
  EXPECT_EQ(gs()->visible_buffer, gs()->pages[0]);
  EXPECT_NE(blit_conversion_table, nullptr);
  ASSERT_EQ(fake_opens().size(), 1u);
  EXPECT_EQ(fake_opens()[0].flags, SCREEN_FULLSCREEN | SCREEN_NO_SWITCH);
  EXPECT_EQ(fake_opens()[0].height, 400);
  EXPECT_EQ(fake_opens()[0].depth, 32);
  // Every page starts in the background colour, opaque black.
  uint32_t pixel;
  std::memcpy(&pixel, gs()->pages[0] + 2560 * 399 + 4 * 639, 4);
  EXPECT_EQ(pixel, 0xFF000000u);
  // The graphics layer holds the hooks while the screen is open.
  EXPECT_NE(runtime.hooks.page_set, nullptr);
  EXPECT_NE(runtime.hooks.port_in, nullptr);
  EXPECT_NE(runtime.hooks.key_string, nullptr);
}

TEST_F(ScreenTest, DepthArgumentCountsOnlyAboveModeThirteen) {
  struct Case {
    int mode, depth, expected, mask;
  } cases[] = {{13, 32, 8, 0xFF}, {18, 24, 32, -1}, {18, 12, 8, 0xFF}, {18, 15, 16, 0xFFFF},
               {12, 32, 4, 0xF},  {1, 0, 2, 3},     {11, 8, 1, 1}};
  for (const Case& c : cases) {
    ASSERT_EQ(screen_set_mode(c.mode, c.depth, 1, SCREEN_NULL, 0), 0) << c.mode;
    EXPECT_EQ(gs()->depth, c.expected) << c.mode << " " << c.depth;
    EXPECT_EQ(gs()->colour_mask, static_cast<uint32_t>(c.mask)) << c.mode;
  }
}

TEST_F(ScreenTest, LineDoubledModeHasDirtyForEveryDisplayLine) {
  ASSERT_EQ(screen_set_mode(2, 0, 1, 0, 0), 0);
  EXPECT_EQ(gs()->scanline_size, 2);
  EXPECT_EQ(fake_opens().back().height, 400);
  gs()->dirty[399] = 1;  // the array is height x scanline_size long
}

TEST_F(ScreenTest, BadModesLeaveTheOpenScreenAlone) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, SCREEN_NULL, 0), 0);
  GraphicsState* before = gs();
  uint32_t id = before->id;
  for (int mode : {3, 6, 22, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(screen_set_mode(mode, 0, 1, 0, 0), 1) << mode;
    EXPECT_EQ(get_error(), 1);
    EXPECT_EQ(gs(), before);
    EXPECT_EQ(gs()->id, id);
  }
  for (int depth : {0, 3, 5, 33, -8, INT32_MIN, INT32_MAX}) EXPECT_EQ(screen_set_resolution(64, 64, depth, 1, 0, 0), 1);
  EXPECT_EQ(screen_set_resolution(0, 64, 8, 1, 0, 0), 1);
  EXPECT_EQ(screen_set_resolution(64, -1, 8, 1, 0, 0), 1);
  // Byte sizes beyond what the fields and the address space hold.
  EXPECT_EQ(screen_set_resolution(INT32_MAX, 1, 32, 1, 0, 0), 1);
  EXPECT_EQ(screen_set_resolution(1 << 20, 1 << 20, 32, INT32_MAX, 0, 0), 1);
  EXPECT_EQ(gs(), before);
}

TEST_F(ScreenTest, FreeResolutionTakesItsOwnTextSize) {
  ASSERT_EQ(screen_set_resolution(800, 600, 15, 2, 0, 0), 0);
  EXPECT_EQ(gs()->mode_num, -1);
  EXPECT_EQ(gs()->depth, 16);
  EXPECT_EQ(gs()->colour_mask, 0xFFFFu);
  EXPECT_EQ(gs()->text_w, 100);
  EXPECT_EQ(gs()->text_h, 75);
  EXPECT_EQ(gs()->font, &font_8x8);
  EXPECT_EQ(gs()->num_pages, 2);
  // Wider than a mode row can describe: the text size is not cut to 8 bits.
  ASSERT_EQ(screen_set_resolution(4096, 8, 8, 1, SCREEN_NULL, 0), 0);
  EXPECT_EQ(gs()->text_w, 512);
}

TEST_F(ScreenTest, RequestFlagsAreWidenedAndRecorded) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, SCREEN_SHAPED_WINDOW, 0), 0);
  EXPECT_EQ(fake_opens().back().flags, 0x1C);
  ASSERT_EQ(screen_set_mode(13, 0, 1, SCREEN_OPENGL | SCREEN_ALPHA_PRIMITIVES, 0), 0);
  EXPECT_EQ(gs()->depth, 16);
  EXPECT_TRUE(gs()->flags & GS_OPENGL);
  EXPECT_TRUE(gs()->flags & GS_ALPHA_PRIMITIVES);
  ASSERT_EQ(screen_set_mode(13, 0, 1, SCREEN_NULL, 0), 0);
  EXPECT_EQ(gs()->driver, &null_driver);
  EXPECT_FALSE(gs()->flags & (GS_OPENGL | GS_ALPHA_PRIMITIVES));
  EXPECT_EQ(gs()->depth, 8);
}

TEST_F(ScreenTest, EveryModeSetMakesAFreshScreen) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  uint32_t first = gs()->id;
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  EXPECT_GT(gs()->id, first);
  // The first driver was closed before the second screen was built.
  EXPECT_EQ(fake_state(0).closes, 1);
  ASSERT_EQ(screen_set_mode(0, 0, 0, 0, 0), 0);
  EXPECT_EQ(gs(), nullptr);
  EXPECT_EQ(blit_conversion_table, nullptr);
  EXPECT_EQ(fake_state(0).closes, 2);
  EXPECT_EQ(runtime.hooks.page_set, nullptr);
  EXPECT_EQ(runtime.hooks.port_in, nullptr);
}

TEST_F(ScreenTest, NoDriverMeansNoScreenAndAnError) {
  test::install_fake_drivers(0);
  EXPECT_EQ(screen_set_mode(13, 0, 1, 0, 0), 1);
  EXPECT_EQ(gs(), nullptr);
  EXPECT_EQ(runtime.hooks.page_set, nullptr);
  EXPECT_EQ(screen_set_resolution(64, 64, 8, 1, 0, 0), 1);
  EXPECT_EQ(gs(), nullptr);
}

TEST_F(ScreenTest, RunningOutOfMemoryAnywhereLeavesNoScreen) {
  for (int32_t allowed = 0; allowed < 40; ++allowed) {
    ASSERT_EQ(screen_set_mode(13, 0, 3, SCREEN_NULL, 0), 0);
    limit_screen_allocations(allowed);
    int32_t result = screen_set_mode(18, 0, 3, 0, 0);
    limit_screen_allocations(-1);
    if (result == 0) {
      ASSERT_NE(gs(), nullptr);
      EXPECT_EQ(gs()->width, 640);
      break;
    }
    EXPECT_EQ(result, 1) << allowed;
    EXPECT_EQ(gs(), nullptr) << allowed;
    EXPECT_EQ(blit_conversion_table, nullptr) << allowed;
    EXPECT_EQ(runtime.hooks.page_set, nullptr) << allowed;
  }
  // And a page the allocator cannot give at all.
  EXPECT_EQ(screen_set_resolution((1 << 29) - 1, 1 << 20, 8, 1, SCREEN_NULL, 0), 1);
  EXPECT_EQ(gs(), nullptr);
}

TEST_F(ScreenTest, ModePagesOpensThenSelectsPages) {
  EXPECT_EQ(screen_set_mode_pages(13, 0, 0), 0);
  EXPECT_EQ(gs()->num_pages, 1);
  EXPECT_EQ(screen_set_mode_pages(22, 0, 0), 1);
  // Page 1 does not exist on a one-page screen: the selection is ignored.
  EXPECT_EQ(screen_set_mode_pages(13, 1, 0), 0);
  EXPECT_EQ(gs()->visible_page, 0);
}

TEST_F(ScreenTest, ExitHandlerClosesWithoutTouchingTheConsole) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  screen_exit_handler();
  EXPECT_EQ(gs(), nullptr);
  EXPECT_EQ(fake_state(0).closes, 1);
  screen_exit_handler();  // nothing open: nothing happens
  EXPECT_EQ(fake_state(0).closes, 1);
}
