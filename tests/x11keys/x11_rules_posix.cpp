// The X11 driver's rules: the conversion for a visual, the placement of window and
// picture, pointer positions as picture coordinates, and the integer scaling.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "display/x11/x11_rules.h"
#include "gfx/core/graphics_state.h"

namespace zv {
namespace {

TEST(X11Rules, SurfaceTypeFromTheVisualsMasks) {
  int32_t red_low = -1;
  EXPECT_EQ(x11_surface_type(32, 0xFF0000, 0xFF00, 0xFF, &red_low), 32);
  EXPECT_EQ(red_low, 0);
  EXPECT_EQ(x11_surface_type(32, 0xFF, 0xFF00, 0xFF0000, &red_low), 32);
  EXPECT_EQ(red_low, 1);
  EXPECT_EQ(x11_surface_type(24, 0xFF0000, 0xFF00, 0xFF, &red_low), 24);
  EXPECT_EQ(x11_surface_type(16, 0xF800, 0x07E0, 0x001F, &red_low), 16);
  EXPECT_EQ(x11_surface_type(16, 0x7C00, 0x03E0, 0x001F, &red_low), 15);
  EXPECT_EQ(x11_surface_type(16, 0x001F, 0x03E0, 0x7C00, &red_low), 15);
  EXPECT_EQ(red_low, 1);
  // 10 bits per colour and 8-bit pseudo-colour visuals have no blitter.
  EXPECT_EQ(x11_surface_type(32, 0x3FF00000, 0xFFC00, 0x3FF, nullptr), 0);
  EXPECT_EQ(x11_surface_type(8, 0, 0, 0, nullptr), 0);
}

TEST(X11Rules, WindowIsCentredOnTheScreenWithThePictureFillingIt) {
  const ScreenRect screen{0, 0, 1024, 768};
  X11Placement p = x11_place(0, 640, 400, screen, screen);
  EXPECT_EQ(p.frame.left, 192);
  EXPECT_EQ(p.frame.top, 184);
  EXPECT_EQ(p.frame.right - p.frame.left, 640);
  EXPECT_EQ(p.frame.bottom - p.frame.top, 400);
  EXPECT_EQ(p.view_x, 0);
  EXPECT_EQ(p.view_y, 0);
  EXPECT_EQ(p.scale, 1);
  // Larger than the screen: the halved difference is negative, as on Windows.
  p = x11_place(0, 1100, 400, screen, screen);
  EXPECT_EQ(p.frame.left, -38);
}

TEST(X11Rules, FullScreenCoversTheMonitorAndScalesByWholeFactors) {
  const ScreenRect screen{0, 0, 3840, 1080};
  const ScreenRect right_monitor{1920, 0, 3840, 1080};
  X11Placement p = x11_place(SCREEN_FULLSCREEN, 640, 400, right_monitor, screen);
  EXPECT_EQ(p.frame.left, 1920);
  EXPECT_EQ(p.frame.right, 3840);
  EXPECT_EQ(p.scale, 2);  // 1080 / 400 limits it
  EXPECT_EQ(p.view_x, (1920 - 1280) / 2);
  EXPECT_EQ(p.view_y, (1080 - 800) / 2);
  // Fits once only: unscaled and centred.
  p = x11_place(SCREEN_FULLSCREEN, 640, 400, ScreenRect{0, 0, 1024, 768}, screen);
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.view_x, 192);
  // Does not fit: still scale 1, cut evenly at both edges.
  p = x11_place(SCREEN_FULLSCREEN, 800, 600, ScreenRect{0, 0, 640, 480}, screen);
  EXPECT_EQ(p.scale, 1);
  EXPECT_EQ(p.view_x, -80);
  EXPECT_EQ(p.view_y, -60);
}

TEST(X11Rules, PointerPositionsBesideThePictureCountAsItsEdges) {
  EXPECT_EQ(x11_picture_coordinate(320, 320, 2, 640), 0);
  EXPECT_EQ(x11_picture_coordinate(321, 320, 2, 640), 0);
  EXPECT_EQ(x11_picture_coordinate(322, 320, 2, 640), 1);
  EXPECT_EQ(x11_picture_coordinate(10, 320, 2, 640), 0);
  EXPECT_EQ(x11_picture_coordinate(320 + 1280, 320, 2, 640), 639);
  EXPECT_EQ(x11_picture_coordinate(5000, 0, 1, 640), 639);
  EXPECT_EQ(x11_picture_coordinate(7, 0, 0, 640), 7);  // a zero scale is taken as 1
  EXPECT_EQ(x11_picture_coordinate(7, 0, 1, 0), 0);
}

// Every destination pixel is the source pixel it covers, for each pixel size.
TEST(X11Rules, ScalingRepeatsPixelsAndRowsForEveryPixelSize) {
  std::mt19937 random(1234);
  for (int32_t bytes = 1; bytes <= 4; ++bytes) {
    for (int32_t scale = 1; scale <= 3; ++scale) {
      const int32_t width = 13, rows = 5;
      const int32_t source_pitch = width * bytes + 3;  // rows need not be packed
      const int32_t destination_pitch = width * bytes * scale + 5;
      std::vector<uint8_t> source(static_cast<size_t>(source_pitch) * rows);
      for (uint8_t& b : source) b = static_cast<uint8_t>(random());
      std::vector<uint8_t> destination(static_cast<size_t>(destination_pitch) * rows * scale, 0xEE);
      x11_scale_rows(source.data(), source_pitch, destination.data(), destination_pitch, width, rows, bytes, scale);
      for (int32_t y = 0; y < rows * scale; ++y) {
        for (int32_t x = 0; x < width * scale; ++x) {
          for (int32_t b = 0; b < bytes; ++b) {
            ASSERT_EQ(destination[y * destination_pitch + x * bytes + b],
                      source[(y / scale) * source_pitch + (x / scale) * bytes + b])
                << "bytes " << bytes << " scale " << scale << " at " << x << "," << y;
          }
        }
        // The padding after each row is left alone.
        EXPECT_EQ(destination[y * destination_pitch + width * bytes * scale], 0xEE);
      }
    }
  }
}

TEST(X11Rules, ScalingIgnoresImpossibleArguments) {
  uint8_t source[4] = {1, 2, 3, 4};
  uint8_t destination[8] = {};
  x11_scale_rows(source, 4, destination, 8, 1, 1, 5, 2);
  x11_scale_rows(source, 4, destination, 8, 1, 1, 4, 0);
  x11_scale_rows(source, 4, destination, 8, -1, 1, 4, 1);
  for (uint8_t b : destination) EXPECT_EQ(b, 0);
}

}  // namespace
}  // namespace zv
