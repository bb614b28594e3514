// The number rules against their written-out forms.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "app/screensaver_math.h"
#include "saver_reference.h"

namespace morv::test {

TEST(SaverMath, ConversionRoundsToNearestEvenAndOverflowsToIntMin) {
  EXPECT_EQ(to_int32_nearest_even(2.5L), 2);
  EXPECT_EQ(to_int32_nearest_even(3.5L), 4);
  EXPECT_EQ(to_int32_nearest_even(-2.5L), -2);
  EXPECT_EQ(to_int32_nearest_even(-3.5L), -4);
  EXPECT_EQ(to_int32_nearest_even(2.4999L), 2);
  EXPECT_EQ(to_int32_nearest_even(2147483647.4L), INT32_MAX);
  EXPECT_EQ(to_int32_nearest_even(2147483647.5L), INT32_MIN) << "rounds to 2^31, which does not fit";
  EXPECT_EQ(to_int32_nearest_even(-2147483648.4L), INT32_MIN);
  EXPECT_EQ(to_int32_nearest_even(-2147483649.0L), INT32_MIN);
  EXPECT_EQ(to_int32_nearest_even(1e30L), INT32_MIN);
  EXPECT_EQ(to_int32_nearest_even(NAN), INT32_MIN);
}

TEST(SaverMath, RandomIntegersCoverOneToN) {
  const long double largest_draw = std::ldexp(4294967295.0L, -32);
  EXPECT_EQ(random_integer(0.0L, 25.0), 1);
  EXPECT_EQ(random_integer(largest_draw, 25.0), 25);
  EXPECT_EQ(random_integer(largest_draw, 300.0), 300);
  EXPECT_EQ(random_integer(0.5L, 200.0), 101);
  EXPECT_EQ(random_integer(std::ldexp(1.0L, -32), 100.0), 1);
}

TEST(SaverMath, ColourDoublesAndWrapsPastTheSignBit) {
  EXPECT_EQ(next_colour(0xFF000, 0.375L), 0x1FE000 + 2) << "1.5 rounds to the even 2";
  EXPECT_EQ(next_colour(0xFF000, 0.125L), 0x1FE000) << "0.5 rounds to the even 0";
  EXPECT_EQ(next_colour(0x40000000, 0.0L), INT32_MIN);
  EXPECT_EQ(next_colour(0x40000001, 0.25L), INT32_MIN + 3);
  EXPECT_EQ(next_colour(0x3FFFFFFF, 0.125L), 0x7FFFFFFE);
  EXPECT_EQ(next_colour(0x3FFFFFFF, 0.375L), INT32_MIN) << "0x7FFFFFFE + 1.5 rounds to 2^31";
  EXPECT_EQ(next_colour(0x3FFFFFFF, 0.75L), INT32_MIN);
  EXPECT_EQ(next_colour(-1, 0.0L), -2);
  EXPECT_EQ(next_colour(INT32_MIN, 0.99L), 4);
  EXPECT_EQ(next_colour(INT32_MAX, 0.5L), 0);
}

TEST(SaverMath, ColourStepMatchesTheWrittenOutRule) {
  std::mt19937 random(2024);
  std::uniform_int_distribution<uint32_t> word;
  const int32_t edges[] = {0, 1, -1, INT32_MAX, INT32_MIN, 0x3FFFFFFF, 0x40000000, -0x40000000, -0x40000001};
  for (int32_t i = 0; i < 200000; ++i) {
    const int32_t colour = i < 9 * 8 ? edges[i / 8] : static_cast<int32_t>(word(random));
    const long double draw = std::ldexp(static_cast<long double>(i < 9 * 8 ? static_cast<uint32_t>(i % 8) << 29 : word(random)), -32);
    ASSERT_EQ(next_colour(colour, draw), model_colour_step(colour, draw))
        << "colour " << colour << " draw " << static_cast<double>(draw);
  }
}

}  // namespace morv::test
