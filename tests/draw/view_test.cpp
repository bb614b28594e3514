#include "draw_fixture.h"
#include "gfx/draw/line.h"
#include "gfx/draw/view.h"
#include "runtime/runtime.h"

namespace zv::test {
namespace {

constexpr uint32_t GREEN = 0xFF00FF00u;
constexpr uint32_t RED = 0xFFFF0000u;

class ViewTest : public DrawTest {
 protected:
  void expect_view(int32_t x, int32_t y, int32_t w, int32_t h) {
    const DrawContext* c = context();
    EXPECT_EQ(c->view_x, x);
    EXPECT_EQ(c->view_y, y);
    EXPECT_EQ(c->view_w, w);
    EXPECT_EQ(c->view_h, h);
  }
  void reset() { view_set(VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, 0, 0, 0); }
};

TEST_F(ViewTest, BorderFramesTheViewOnePixelOutside) {
  view_set(20, 20, 10, 10, 0, GREEN, VIEW_SCREEN | VIEW_NO_FILL);
  expect_view(10, 10, 11, 11);
  PixelSet frame;
  for (int32_t i = 9; i <= 21; ++i) frame.insert({{i, 9}, {i, 21}, {9, i}, {21, i}});
  EXPECT_EQ(screen_surface().with_colour(GREEN), frame);
  // Drawing is now confined to the 11 x 11 pixels inside.
  draw_line(nullptr, 0, 0, 63, 47, RED, LINE_BOX_FILLED, LINE_STYLE_SOLID, 0);
  EXPECT_EQ(screen_surface().with_colour(RED).size(), 121u);
  EXPECT_TRUE(context()->flags & DC_VIEW);
}

TEST_F(ViewTest, PlainFormOffsetsCoordinatesAndScreenFormDoesNot) {
  view_set(10, 10, 30, 30, 0, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  draw_line(nullptr, 0, 0, 0, 0, RED, 0, LINE_STYLE_SOLID, 0);
  EXPECT_EQ(screen_surface().with_colour(RED), (PixelSet{{10, 10}}));
  screen_surface().fill(BACKGROUND);
  view_set(10, 10, 30, 30, 0, 0, VIEW_SCREEN | VIEW_NO_BORDER | VIEW_NO_FILL);
  draw_line(nullptr, 0, 0, 0, 0, RED, 0, LINE_STYLE_SOLID, 0);
  EXPECT_TRUE(screen_surface().with_colour(RED).empty());
  // DRAW always works in screen coordinates, and leaves the plain form in place.
  view_set(10, 10, 30, 30, 0, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  set_pen(12, 12);
  run_draw(nullptr, "R0");
  EXPECT_EQ(screen_surface().with_colour(0xFFFFFFFFu), (PixelSet{{12, 12}}));
  EXPECT_FALSE(context()->flags & DC_ABSOLUTE);
}

TEST_F(ViewTest, CornersAreClampedToTheScreen) {
  view_set(-10, 5, 50, 300, 0, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  expect_view(0, 5, 51, 43);
  view_set(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, GREEN, VIEW_NO_FILL);
  expect_view(0, 0, 64, 48);
  EXPECT_TRUE(screen_surface().with_colour(GREEN).empty());  // the frame lies off the screen
  // Entirely off the screen: nothing can be drawn.
  view_set(100, 100, 200, 200, 0, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  EXPECT_EQ(context()->view_w, 0);
  draw_line(nullptr, -1000, -1000, 1000, 1000, RED, 0, LINE_STYLE_SOLID, 0);
  draw_line(nullptr, -1000, -1000, 1000, 1000, RED, LINE_BOX_FILLED, LINE_STYLE_SOLID, 0);
  run_draw(nullptr, "R10 P1");
  EXPECT_TRUE(screen_surface().with_colour(RED).empty());
}

TEST_F(ViewTest, ResetFormGivesBackTheWholeScreen) {
  view_set(10, 10, 30, 30, 0, GREEN, VIEW_NO_FILL);
  reset();
  expect_view(0, 0, 64, 48);
  EXPECT_FALSE(context()->flags & DC_VIEW);
  // The reset form draws nothing.
  EXPECT_EQ(screen_surface().with_colour(GREEN).size(), 88u);
}

int32_t clear_calls = 0;
uint32_t clear_background = 0;
void recording_clear(int32_t mode) {
  ++clear_calls;
  EXPECT_EQ(mode, 1);
  clear_background = get_draw_context()->bg_colour;
}

TEST_F(ViewTest, FillClearsTheViewWithTheFillColourAsBackground) {
  auto saved = runtime.hooks.clear_screen;
  runtime.hooks.clear_screen = &recording_clear;
  const uint32_t background = context()->bg_colour;
  view_set(1, 1, 5, 5, 0x123456, 0, VIEW_NO_BORDER);
  EXPECT_EQ(clear_calls, 1);
  EXPECT_EQ(clear_background, 0x123456u);
  EXPECT_EQ(context()->bg_colour, background);
  view_set(1, 1, 5, 5, 0x123456, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  EXPECT_EQ(clear_calls, 1);
  runtime.hooks.clear_screen = saved;
}

}  // namespace
}  // namespace zv::test
