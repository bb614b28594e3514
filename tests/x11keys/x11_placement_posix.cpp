// The picture inside a screen locker's window: centred, enlarged by whole factors,
// reduced to fit a preview; which shown rows a changed band reaches; the reduction.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "display/x11/x11_rules.h"
#include "gfx/core/graphics_state.h"

namespace zv {
namespace {

TEST(X11PlacementInWindow, CentredWholeFactorOrReducedToFit) {
  struct Case {
    int32_t window_width, window_height;
    int32_t scale, view_x, view_y, view_width, view_height;
  };
  const Case cases[] = {
      {640, 400, 1, 0, 0, 640, 400},
      {1024, 768, 1, 192, 184, 640, 400},
      {1280, 800, 2, 0, 0, 1280, 800},
      {1920, 1080, 2, 320, 140, 1280, 800},
      {3840, 2160, 5, 320, 80, 3200, 2000},
      {1279, 1000, 1, 319, 300, 640, 400},
      // Smaller than the picture in either direction: reduced, proportions kept.
      {320, 200, 1, 0, 0, 320, 200},
      {300, 300, 1, 0, 56, 300, 187},
      {800, 200, 1, 240, 0, 320, 200},
      {639, 400, 1, 0, 0, 639, 399},
      {640, 399, 1, 1, 0, 638, 399},
      {1, 1, 1, 0, 0, 1, 1},
      {2, 1000, 1, 0, 499, 2, 1},
      {0, -5, 1, 0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    const X11Placement p = x11_place_in_window(640, 400, c.window_width, c.window_height);
    SCOPED_TRACE(testing::Message() << c.window_width << " x " << c.window_height);
    EXPECT_EQ(p.frame.left, 0);
    EXPECT_EQ(p.frame.top, 0);
    EXPECT_EQ(p.frame.right, std::max(c.window_width, 1));
    EXPECT_EQ(p.frame.bottom, std::max(c.window_height, 1));
    EXPECT_EQ(p.scale, c.scale);
    EXPECT_EQ(p.view_x, c.view_x);
    EXPECT_EQ(p.view_y, c.view_y);
    EXPECT_EQ(p.view_width, c.view_width);
    EXPECT_EQ(p.view_height, c.view_height);
    EXPECT_LE(p.view_x + p.view_width, p.frame.right);
    EXPECT_LE(p.view_y + p.view_height, p.frame.bottom);
    EXPECT_EQ(x11_reduced(p, 640, 400), c.window_width < 640 || c.window_height < 400);
  }
}

TEST(X11PlacementInWindow, OwnWindowsKeepTheirShownSize) {
  const ScreenRect screen{0, 0, 1920, 1080};
  X11Placement window = x11_place(0, 640, 400, screen, screen);
  EXPECT_EQ(window.view_width, 640);
  EXPECT_EQ(window.view_height, 400);
  X11Placement full = x11_place(SCREEN_FULLSCREEN, 640, 400, screen, screen);
  EXPECT_EQ(full.view_width, 1280);
  EXPECT_EQ(full.view_height, 800);
}

TEST(X11ShownRows, BandsScaleUpOrMapOntoTheReducedRows) {
  int32_t top = -1;
  const X11Placement doubled = x11_place_in_window(640, 400, 1280, 800);
  EXPECT_EQ(x11_shown_rows(doubled, 400, 10, 5, &top), 10);
  EXPECT_EQ(top, 20);
  EXPECT_EQ(x11_shown_rows(doubled, 400, 390, 50, &top), 20) << "cut at the picture's end";
  EXPECT_EQ(x11_shown_rows(doubled, 400, 400, 1, &top), 0);
  EXPECT_EQ(x11_shown_rows(doubled, 400, 0, 0, &top), 0);

  const X11Placement half = x11_place_in_window(640, 400, 320, 200);
  EXPECT_EQ(x11_shown_rows(half, 400, 0, 400, &top), 200);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(x11_shown_rows(half, 400, 3, 1, &top), 1);
  EXPECT_EQ(top, 1);
  // Every picture row lands in exactly the shown row whose block holds it, at any size.
  for (int32_t shown = 1; shown < 400; shown += 37) {
    const X11Placement p = x11_place_in_window(640, 400, 640 * shown / 400 + 1, shown);
    ASSERT_EQ(p.view_height, shown);
    for (int32_t row = 0; row < 400; ++row) {
      ASSERT_EQ(x11_shown_rows(p, 400, row, 1, &top), 1);
      const int32_t begin = static_cast<int32_t>(static_cast<int64_t>(top) * 400 / shown);
      const int32_t end = static_cast<int32_t>(static_cast<int64_t>(top + 1) * 400 / shown);
      ASSERT_TRUE(row >= begin && row < end) << "row " << row << " shown " << shown;
    }
  }
}

// Reference: each shown pixel the rounded mean of its block, per byte.
std::vector<uint8_t> reference_reduce(const std::vector<uint8_t>& source, int32_t width, int32_t height, int32_t bytes,
                                      int32_t shown_width, int32_t shown_height) {
  std::vector<uint8_t> out(static_cast<size_t>(shown_width * shown_height * bytes));
  for (int32_t y = 0; y < shown_height; ++y) {
    for (int32_t x = 0; x < shown_width; ++x) {
      const int32_t y0 = y * height / shown_height, y1 = (y + 1) * height / shown_height;
      const int32_t x0 = x * width / shown_width, x1 = (x + 1) * width / shown_width;
      for (int32_t b = 0; b < bytes; ++b) {
        uint32_t sum = 0, n = 0;
        for (int32_t sy = y0; sy < y1; ++sy) {
          for (int32_t sx = x0; sx < x1; ++sx, ++n) sum += source[static_cast<size_t>((sy * width + sx) * bytes + b)];
        }
        out[static_cast<size_t>((y * shown_width + x) * bytes + b)] = static_cast<uint8_t>((sum + n / 2) / n);
      }
    }
  }
  return out;
}

TEST(X11ReduceRows, MeanOfEachBlockAgainstAPlainReference) {
  std::mt19937 random(1234);
  for (int32_t bytes : {3, 4}) {
    for (int32_t round = 0; round < 20; ++round) {
      const int32_t width = 1 + static_cast<int32_t>(random() % 90);
      const int32_t height = 1 + static_cast<int32_t>(random() % 60);
      const int32_t shown_width = 1 + static_cast<int32_t>(random() % width);
      const int32_t shown_height = 1 + static_cast<int32_t>(random() % height);
      std::vector<uint8_t> source(static_cast<size_t>(width * height * bytes));
      for (uint8_t& b : source) b = static_cast<uint8_t>(random());
      const int32_t pitch = shown_width * bytes + 5;
      std::vector<uint8_t> shown(static_cast<size_t>(pitch * shown_height), 0xEE);
      x11_reduce_rows(source.data(), width * bytes, width, height, shown.data(), pitch, shown_width, shown_height, bytes,
                      0, shown_height);
      const std::vector<uint8_t> expected = reference_reduce(source, width, height, bytes, shown_width, shown_height);
      for (int32_t y = 0; y < shown_height; ++y) {
        for (int32_t i = 0; i < shown_width * bytes; ++i) {
          ASSERT_EQ(shown[static_cast<size_t>(y * pitch + i)], expected[static_cast<size_t>(y * shown_width * bytes + i)])
              << "seed 1234 round " << round << " bytes " << bytes << " at " << i << "," << y;
        }
        for (int32_t i = shown_width * bytes; i < pitch; ++i) ASSERT_EQ(shown[static_cast<size_t>(y * pitch + i)], 0xEE);
      }
    }
  }
}

TEST(X11ReduceRows, ThinLinesStayVisibleAndOnlyTheAskedRowsAreWritten) {
  // A one-pixel white line on black, halved: still there, at half strength.
  const int32_t width = 8, height = 8;
  std::vector<uint8_t> source(static_cast<size_t>(width * height * 4), 0);
  for (int32_t x = 0; x < width; ++x) {
    for (int32_t b = 0; b < 3; ++b) source[static_cast<size_t>((3 * width + x) * 4 + b)] = 0xFF;
  }
  std::vector<uint8_t> shown(4 * 4 * 4, 0x11);
  x11_reduce_rows(source.data(), width * 4, width, height, shown.data(), 16, 4, 4, 4, 1, 1);
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(shown[static_cast<size_t>(16 + x * 4)], 0x80);
  EXPECT_EQ(shown[0], 0x11) << "row 0 was not asked for";
  EXPECT_EQ(shown[32], 0x11) << "row 2 was not asked for";
}

TEST(X11ReduceRows, SixteenBitPixelsTakeTheBlocksFirstPixel) {
  const uint16_t source[4 * 2] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 1, 2, 3, 4};
  uint16_t shown[2] = {};
  x11_reduce_rows(reinterpret_cast<const uint8_t*>(source), 8, 4, 2, reinterpret_cast<uint8_t*>(shown), 4, 2, 1, 2, 0, 1);
  EXPECT_EQ(shown[0], 0xF800);
  EXPECT_EQ(shown[1], 0x001F);
}

TEST(X11ReduceRows, RefusesSizesThatAreNotAReduction) {
  std::vector<uint8_t> source(16 * 4, 0x55), shown(32 * 4, 0x11);
  x11_reduce_rows(source.data(), 16, 4, 4, shown.data(), 32, 8, 2, 4, 0, 2);  // wider than the source
  x11_reduce_rows(source.data(), 16, 4, 4, shown.data(), 32, 2, 2, 5, 0, 2);  // 5 bytes a pixel
  x11_reduce_rows(source.data(), 16, 4, 4, shown.data(), 32, 2, 0, 4, 0, 2);  // nothing shown
  for (uint8_t b : shown) ASSERT_EQ(b, 0x11);
  // Rows beyond the shown picture are not written.
  x11_reduce_rows(source.data(), 16, 4, 4, shown.data(), 32, 2, 2, 4, 1, 10);
  EXPECT_EQ(shown[0], 0x11);
  EXPECT_EQ(shown[32], 0x55);
  EXPECT_EQ(shown[64], 0x11);
}

}  // namespace
}  // namespace zv
