#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>

#include "draw_fixture.h"
#include "gfx/draw/line.h"

namespace zv::test {
namespace {

constexpr uint32_t RED = 0xFFFF0000u;

class LineTest : public DrawTest {
 protected:
  PixelSet drawn() { return screen_surface().with_colour(RED); }
  void line(float x1, float y1, float x2, float y2, uint32_t style = LINE_STYLE_SOLID, int32_t box = 0) {
    draw_line(nullptr, x1, y1, x2, y2, RED, box, style, 0);
  }
};

TEST_F(LineTest, DashedVerticalAndHorizontalLinesStartTheirPatternAtTheFirstPoint) {
  line(10, 5, 10, 1, 0x8000);
  EXPECT_EQ(drawn(), (PixelSet{{10, 5}}));
  screen_surface().fill(BACKGROUND);
  line(10, 1, 10, 5, 0x8000);
  EXPECT_EQ(drawn(), (PixelSet{{10, 1}}));
  screen_surface().fill(BACKGROUND);
  // Leftwards over 20 pixels: the pattern 1100... still starts at the right end.
  line(30, 3, 11, 3, 0xC000);
  EXPECT_EQ(drawn(), (PixelSet{{30, 3}, {29, 3}, {14, 3}, {13, 3}}));
}

TEST_F(LineTest, BresenhamHitsBothEndsAndOnePixelPerMajorStep) {
  struct Case {
    float x1, y1, x2, y2;
  };
  for (const Case c : {Case{2, 3, 40, 17}, Case{40, 17, 2, 3}, Case{5, 40, 9, 1}, Case{60, 0, 0, 47}, Case{1, 1, 3, 2}}) {
    screen_surface().fill(BACKGROUND);
    line(c.x1, c.y1, c.x2, c.y2);
    const PixelSet p = drawn();
    EXPECT_TRUE(p.count({int32_t(c.x1), int32_t(c.y1)})) << c.x1 << "," << c.y1;
    EXPECT_TRUE(p.count({int32_t(c.x2), int32_t(c.y2)})) << c.x2 << "," << c.y2;
    const int32_t major = std::max(std::abs(int32_t(c.x2 - c.x1)), std::abs(int32_t(c.y2 - c.y1)));
    EXPECT_EQ(p.size(), static_cast<size_t>(major + 1));
  }
}

TEST_F(LineTest, LinesLeavingTheViewAreClippedToIt) {
  line(-100, 10, 1000, 10);
  PixelSet row;
  for (int32_t x = 0; x < 64; ++x) row.insert({x, 10});
  EXPECT_EQ(drawn(), row);
  screen_surface().fill(BACKGROUND);
  // Both ends beyond the same edge: nothing is drawn.
  line(-5, 1, -20, 40);
  line(70, 1, 100, 30);
  EXPECT_TRUE(drawn().empty());
  // A diagonal through the whole screen stays inside it.
  line(-1000, -1000, 1000, 1000);
  const PixelSet diagonal = drawn();
  EXPECT_EQ(diagonal.size(), 48u);
  EXPECT_TRUE(diagonal.count({0, 0}) && diagonal.count({47, 47}));
}

TEST_F(LineTest, ExtremeCoordinatesNeitherCrashNorHang) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float values[] = {0.0f, 20.0f, -1.0f, 1e30f, -1e30f, inf, -inf, nan, FLT_MAX, -FLT_MAX,
                          static_cast<float>(INT_MIN), static_cast<float>(INT_MAX), 2147483520.0f};
  for (float a : values)
    for (float b : values)
      for (int32_t box = 0; box <= 2; ++box) {
        draw_line(nullptr, a, b, b, a, RED, box, 0xF0F0, 0);
        draw_line(nullptr, 10, 10, a, b, RED, box, LINE_STYLE_SOLID, 0);
        draw_line(nullptr, a, 10, b, 12, RED, box, 0x1234, 3);  // relative to the last point
      }
  // Anything drawn is inside the screen; a steep line from the middle reaches its edge.
  screen_surface().fill(BACKGROUND);
  set_pen(0, 0);
  line(32, 24, 33, 1e30f);
  EXPECT_TRUE(drawn().count({32, 47}));
}

TEST_F(LineTest, ForegroundFlagIgnoresTheColourArgument) {
  context()->fg_colour = 0xFF00FF00u;
  draw_line(nullptr, 1, 1, 5, 1, RED, 0, LINE_STYLE_SOLID, LINE_USE_FOREGROUND);
  EXPECT_EQ(screen_surface().with_colour(0xFF00FF00u).size(), 5u);
  EXPECT_TRUE(drawn().empty());
}

TEST_F(LineTest, RelativePointsFollowTheLastPoint) {
  set_pen(3, 4);
  draw_line(nullptr, 2, 0, 5, 0, RED, 0, LINE_STYLE_SOLID, 3);  // first from the pen, second from the first
  EXPECT_EQ(drawn(), (PixelSet{{5, 4}, {6, 4}, {7, 4}, {8, 4}, {9, 4}, {10, 4}}));
  EXPECT_EQ(context()->last_x, 10.0f);
  EXPECT_EQ(context()->last_y, 4.0f);
}

TEST_F(LineTest, BoxesOutlineOrFillAndTheFillIgnoresTheStyle) {
  line(12, 9, 2, 3, 0x0001, LINE_BOX_FILLED);
  EXPECT_EQ(drawn().size(), 11u * 7u);
  screen_surface().fill(BACKGROUND);
  line(2, 3, 12, 9, LINE_STYLE_SOLID, LINE_BOX_OUTLINE);
  EXPECT_EQ(drawn().size(), 2u * 11u + 2u * 5u);
}

// The outline pattern runs bottom edge, top edge, right edge, left edge, on from edge to edge.
PixelSet dashed_box_reference(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t style, int32_t view_x) {
  PixelSet out;
  uint32_t mask = 0x8000;
  auto visit = [&](int32_t x, int32_t y) {
    if ((style & mask) && x >= view_x) out.insert({x, y});
    mask = (mask >> 1) | ((mask & 1) << 15);
  };
  for (int32_t x = x1; x <= x2; ++x) visit(x, y2);
  for (int32_t x = x1; x <= x2; ++x) visit(x, y1);
  for (int32_t y = y1; y <= y2; ++y) visit(x2, y);
  for (int32_t y = y1; y <= y2; ++y) visit(x1, y);
  return out;
}

TEST_F(LineTest, ClippedDashedBoxKeepsThePhaseOfTheWholeBox) {
  const uint32_t style = 0xE4C1;
  line(5, 4, 30, 20, style, LINE_BOX_OUTLINE);
  EXPECT_EQ(drawn(), dashed_box_reference(5, 4, 30, 20, style, INT32_MIN));
  // Shift the box partly off the left edge: what remains is dashed exactly as before.
  screen_surface().fill(BACKGROUND);
  line(-7, 4, 18, 20, style, LINE_BOX_OUTLINE);
  EXPECT_EQ(drawn(), dashed_box_reference(-7, 4, 18, 20, style, 0));
}

TEST_F(LineTest, ReverseStyleAndOutcodes) {
  EXPECT_EQ(reverse_style(0x8000), 0x0001u);
  EXPECT_EQ(reverse_style(0x1234), 0x2C48u);
  EXPECT_EQ(reverse_style(0xFFFF0001), 0x8000u);
  DrawContext* c = context();
  EXPECT_EQ(clip_outcode(c, -1, -1), 1 | 8);
  EXPECT_EQ(clip_outcode(c, 64, 48), 2 | 4);
  EXPECT_EQ(clip_outcode(c, 63, 47), 0);
  EXPECT_EQ(clip_outcode(c, INT64_MIN / 2, INT64_MAX / 2), 1 | 4);
}

TEST_F(LineTest, DrawingOnTheShownPageMarksItsRows) {
  GraphicsState* gs = graphics_state();
  std::memset(gs->dirty, 0, static_cast<size_t>(gs->height));
  line(3, 30, 9, 12);
  for (int32_t y = 0; y < gs->height; ++y) EXPECT_EQ(gs->dirty[y] != 0, y >= 12 && y <= 30) << y;
}

TEST_F(LineTest, LinesIntoAnImageStayInsideIt) {
  ImageBuffer* image = image_create(10, 6, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  draw_line(image, -3, -3, 30, 30, RED, 0, LINE_STYLE_SOLID, 0);
  EXPECT_EQ(image_surface(image).with_colour(RED), (PixelSet{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
  EXPECT_TRUE(drawn().empty());
  image_destroy(image);
}

}  // namespace
}  // namespace zv::test
