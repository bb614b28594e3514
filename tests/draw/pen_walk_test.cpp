#include "gfx/draw/pen_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>

namespace zv {
namespace {

using PixelSet = std::set<std::pair<int32_t, int32_t>>;

void collect(void* user, int32_t x, int32_t y) { static_cast<PixelSet*>(user)->insert({x, y}); }

// The walk taken one step at a time, as the interpreter defines it.
void reference_walk(float* x, float* y, double sx, double sy, int64_t steps, const WalkBounds& b, PixelSet* out) {
  for (int64_t i = 0; i <= steps; ++i) {
    if (i > 0) {
      *x = pen_step(*x, sx);
      *y = pen_step(*y, sy);
    }
    const int64_t px = pen_pixel(*x), py = pen_pixel(*y);
    if (px >= b.left && px <= b.right && py >= b.top && py <= b.bottom) out->insert({int32_t(px), int32_t(py)});
  }
}

TEST(PenWalk, JumpsLandWhereSingleStepsDo) {
  const WalkBounds bounds{-100, -200, 300, 250};
  for (uint32_t seed = 1; seed <= 3000; ++seed) {
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<float> place(-3000, 3000);
    float x = place(rng), y = place(rng);
    if (seed % 3 == 0) x = std::floor(x) + 0.5f, y = std::floor(y) + 0.5f;
    if (seed % 7 == 0) x = float(std::ldexp(double(rng() % 1000) - 500, -20));  // near zero
    float angle = float(std::uniform_real_distribution<double>(-10, 10)(rng));
    if (seed % 5 == 0) angle = float((rng() % 8) * 0.7853981633974483);
    const double sx = std::cos(double(angle)), sy = -std::sin(double(angle));
    const int64_t steps = int64_t(rng() % 40000);
    float fx = x, fy = y, rx = x, ry = y;
    PixelSet fast, slow;
    walk_pen(&fx, &fy, sx, sy, steps, bounds, &collect, &fast);
    reference_walk(&rx, &ry, sx, sy, steps, bounds, &slow);
    ASSERT_EQ(fx, rx) << "seed " << seed;
    ASSERT_EQ(fy, ry) << "seed " << seed;
    ASSERT_EQ(fast, slow) << "seed " << seed;
  }
}

TEST(PenWalk, EndsWhereThePenStopsMoving) {
  // One-pixel steps stop changing a float at 2^24; two billion steps end there at once.
  float x = 0.5f, y = 3.5f;
  PixelSet seen;
  walk_pen(&x, &y, 1.0, 0.0, INT64_C(1) << 40, WalkBounds{0, 0, 9, 9}, &collect, &seen);
  EXPECT_EQ(x, 16777216.0f);
  EXPECT_EQ(y, 3.5f);
  EXPECT_EQ(seen.size(), 10u);
  // NaN and infinite coordinates report nothing and stay as they are.
  x = std::nanf("");
  y = INFINITY;
  seen.clear();
  walk_pen(&x, &y, 0.5, 0.5, 1000000000, WalkBounds{0, 0, 9, 9}, &collect, &seen);
  EXPECT_TRUE(std::isnan(x));
  EXPECT_TRUE(std::isinf(y));
  EXPECT_TRUE(seen.empty());
}

TEST(PenWalk, PixelsTruncateTowardZero) {
  EXPECT_EQ(pen_pixel(-0.5f), 0);
  EXPECT_EQ(pen_pixel(-1.5f), -1);
  EXPECT_EQ(pen_pixel(2.99f), 2);
  EXPECT_LT(pen_pixel(std::nanf("")), INT32_MIN);
  EXPECT_GT(pen_pixel(1e30f), INT32_MAX);
}

}  // namespace
}  // namespace zv
