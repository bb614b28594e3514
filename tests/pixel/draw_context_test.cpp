#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfx/core/pixel_ops.h"
#include "gfx/core/screen.h"
#include "gfx/image/image.h"
#include "runtime/cpu.h"
#include "support/fake_driver.h"

using namespace zv;

namespace {

class DrawContextTest : public testing::Test {
 protected:
  void TearDown() override {
    screen_exit_handler();
    force_simd_level(-1);
  }
  DrawContext* open(int mode, int depth, int flags = SCREEN_NULL) {
    EXPECT_EQ(screen_set_mode(mode, depth, 1, flags, 0), 0);
    return get_draw_context();
  }
};

std::pair<int32_t, int32_t> at(DrawContext* c, float x, float y) {
  int32_t tx, ty;
  translate_point(c, x, y, &tx, &ty);
  return {tx, ty};
}

}  // namespace

TEST_F(DrawContextTest, FreshContextOnAThirtyTwoBitScreen) {
  DrawContext* c = open(18, 32);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->fg_colour, 0xFFFFFFFFu);
  EXPECT_EQ(c->bg_colour, 0xFF000000u);
  EXPECT_EQ(c->view_x, 0);
  EXPECT_EQ(c->view_w, 640);
  EXPECT_EQ(c->view_h, 480);
  EXPECT_EQ(c->bytes_per_pixel, 4);
  EXPECT_EQ(c->rows[479], current_screen->pages[0] + 479 * 2560);
  EXPECT_EQ(screen_pointer(), current_screen->pages[0]);
  c = open(7, 0);
  EXPECT_EQ(c->fg_colour, 15u);
  EXPECT_EQ(c->bg_colour, 0u);
}

TEST_F(DrawContextTest, ReopeningResetsColoursAndLastPoint) {
  DrawContext* c = open(13, 0);
  EXPECT_EQ(c->fg_colour, 15u);
  c->fg_colour = 3;
  c->last_x = 40;
  c = open(13, 0);
  EXPECT_EQ(c->fg_colour, 15u);
  EXPECT_EQ(c->last_x, 0.0f);
  EXPECT_EQ(screen_pointer(), current_screen->pages[0]);
}

TEST_F(DrawContextTest, ImageTargetsKeepTheScreenViewAside) {
  DrawContext* c = open(13, 0);
  c->view_x = 10;
  c->view_y = 20;
  c->view_w = 30;
  c->view_h = 40;
  ImageBuffer* image = image_create(16, 8, 0, 32, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(c->target, image);
  EXPECT_EQ(c->bytes_per_pixel, 4);
  EXPECT_EQ(c->view_w, 16);
  EXPECT_EQ(c->view_h, 8);
  uint8_t** rows = c->rows;
  uint8_t* row3 = c->rows[3];
  select_target(c, image);
  EXPECT_EQ(c->rows, rows);
  EXPECT_EQ(c->rows[3], row3);
  select_target(c, nullptr);
  EXPECT_EQ(c->view_x, 10);
  EXPECT_EQ(c->view_y, 20);
  EXPECT_EQ(c->view_w, 30);
  EXPECT_EQ(c->view_h, 40);
  EXPECT_EQ(c->bytes_per_pixel, 1);
  EXPECT_EQ(c->rows[0], current_screen->pages[0]);
  image_destroy(image);
}

TEST_F(DrawContextTest, TranslationRoundsHalfAwayFromZeroAndSaturates) {
  DrawContext* c = open(13, 0);
  EXPECT_EQ(at(c, 2.5f, -2.5f), std::make_pair(3, -3));
  EXPECT_EQ(at(c, 2.49f, -0.4f), std::make_pair(2, 0));
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(at(c, std::nanf(""), -std::nanf("")), std::make_pair(0, 0));
  EXPECT_EQ(at(c, inf, -inf), std::make_pair(INT32_MAX, INT32_MIN));
  EXPECT_EQ(at(c, 3e9f, -3e38f), std::make_pair(INT32_MAX, INT32_MIN));
  EXPECT_EQ(at(c, 2147483520.0f, -2147483648.0f), std::make_pair(2147483520, INT32_MIN));
  c->view_x = 1000;
  c->view_y = -100;
  EXPECT_EQ(at(c, 1, 1), std::make_pair(1001, -99));
  EXPECT_EQ(at(c, 2147483520.0f, -2147483648.0f), std::make_pair(INT32_MAX, INT32_MIN));
  c->flags |= DC_ABSOLUTE;
  EXPECT_EQ(at(c, 1, 1), std::make_pair(1, 1));
}

TEST_F(DrawContextTest, WindowMappingScalesAndFlips) {
  DrawContext* c = open(13, 0);
  c->flags |= DC_WINDOW;
  c->window_x = 0;
  c->window_y = 0;
  c->window_w = 11;  // 0..10 maps onto the view's 320 x 200
  c->window_h = 11;
  EXPECT_EQ(at(c, 5, 0), std::make_pair(160, 199));
  c->flags |= DC_WINDOW_SCREEN;
  EXPECT_EQ(at(c, 5, 10), std::make_pair(160, 200));
  c->window_w = 1;  // division by zero gives the saturated ends, not undefined behaviour
  EXPECT_EQ(at(c, 5, 0).first, INT32_MAX);
  EXPECT_EQ(at(c, 0, 0).first, 0);
}

TEST_F(DrawContextTest, StepCodesResolveRelativePoints) {
  DrawContext* c = open(13, 0);
  c->last_x = 100;
  c->last_y = 50;
  float x1 = 5, y1 = 5, x2 = 1, y2 = 2;
  apply_step(c, 3, &x1, &y1, &x2, &y2);
  EXPECT_EQ(x1, 105);
  EXPECT_EQ(y1, 55);
  EXPECT_EQ(x2, 106);
  EXPECT_EQ(y2, 57);
  EXPECT_EQ(c->last_x, 106);
  x1 = 1, y1 = 1;
  apply_step(c, 0xF5, &x1, &y1, nullptr, nullptr);  // only the low three bits count
  EXPECT_EQ(x1, 107);
  EXPECT_EQ(c->last_y, 58);
  x1 = 1, y1 = 1, x2 = 2, y2 = 2;
  apply_step(c, 1, &x1, &y1, &x2, &y2);
  EXPECT_EQ(x2, 3);
  apply_step(c, 4, &x1, &y1, nullptr, nullptr);
  EXPECT_EQ(c->last_x, 1);
  int32_t a = 9, b = 9, d = 1, e = 1;
  order_corners(&a, &b, &d, &e);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(e, 9);
}

TEST_F(DrawContextTest, BlendingOnlyForTranslucentColoursOnAlphaScreens) {
  test::install_fake_drivers(1);
  DrawContext* c = open(18, 32, SCREEN_ALPHA_PRIMITIVES);
  test::restore_driver_list();
  ASSERT_TRUE(current_screen->flags & GS_ALPHA_PRIMITIVES);
  select_pixel_ops(c, 0x80FFFFFFu);
  c->put_pixel(c, 0, 0, 0x80FFFFFFu);
  EXPECT_EQ(c->get_pixel(c, 0, 0), 0x807F7F7Fu);
  select_pixel_ops(c, 0xFF000000u);
  EXPECT_EQ(c->put_pixel, depth_ops.put_pixel);
  c = open(18, 32);
  select_pixel_ops(c, 0x80FFFFFFu);
  EXPECT_EQ(c->put_pixel, depth_ops.put_pixel);
}

TEST_F(DrawContextTest, VectorFlagFollowsTheLevel) {
  force_simd_level(SIMD_NONE);
  open(13, 0);
  EXPECT_FALSE(current_screen->flags & GS_MMX);
  force_simd_level(SIMD_SSE2);
  open(13, 0);
  EXPECT_EQ((current_screen->flags & GS_MMX) != 0, simd_level() != SIMD_NONE);
}

TEST(DrawContextNoScreen, IsReturnedUnchanged) {
  ASSERT_EQ(current_screen, nullptr);
  EXPECT_EQ(screen_pointer(), nullptr);
  DrawContext* c = get_draw_context();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(get_draw_context(), c);
}
