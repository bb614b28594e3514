// A null-driver screen for the drawing tests, and ways to read back what was drawn.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/screen.h"
#include "gfx/draw/draw_macro.h"
#include "gfx/image/image.h"

namespace zv::test {

using Pixel = std::pair<int32_t, int32_t>;
using PixelSet = std::set<Pixel>;

// What one buffer holds: the screen's work page or an image's pixels.
struct Surface {
  uint8_t* pixels = nullptr;
  int32_t width = 0, height = 0, pitch = 0, bytes_per_pixel = 0;

  uint32_t at(int32_t x, int32_t y) const {
    const uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * bytes_per_pixel;
    uint32_t v = 0;
    std::memcpy(&v, p, static_cast<size_t>(bytes_per_pixel));
    return v;
  }
  void set(int32_t x, int32_t y, uint32_t colour) {
    uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * bytes_per_pixel;
    std::memcpy(p, &colour, static_cast<size_t>(bytes_per_pixel));
  }
  PixelSet with_colour(uint32_t colour) const {
    PixelSet found;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (at(x, y) == colour) found.insert({x, y});
    return found;
  }
  PixelSet differing_from(uint32_t colour) const {
    PixelSet found;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        if (at(x, y) != colour) found.insert({x, y});
    return found;
  }
  size_t count(uint32_t colour) const {
    size_t n = 0;
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) n += at(x, y) == colour;
    return n;
  }
  void fill(uint32_t colour) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) set(x, y, colour);
  }
};

inline Surface screen_surface() {
  GraphicsState* gs = graphics_state();
  Surface s;
  if (!gs) return s;
  s.pixels = gs->pages[0];
  s.width = gs->width;
  s.height = gs->height;
  s.pitch = gs->pitch;
  s.bytes_per_pixel = gs->bytes_per_pixel;
  return s;
}

inline Surface image_surface(ImageBuffer* image) {
  Surface s;
  ImageGeometry g;
  if (!image_geometry(image, 4, &g)) return s;
  s.pixels = g.pixels;
  s.width = g.width;
  s.height = g.height;
  s.pitch = g.pitch;
  s.bytes_per_pixel = g.bytes_per_pixel;
  return s;
}

// Runs a command string held by the caller (not a temporary).
inline void run_draw(ImageBuffer* target, const std::string& commands) {
  std::string text = commands;
  StringDescriptor d{text.data(), static_cast<int32_t>(text.size()), static_cast<int32_t>(text.size())};
  draw_macro(target, &d);
}

class DrawTest : public ::testing::Test {
 protected:
  static constexpr uint32_t BACKGROUND = 0xFF000000u;  // a fresh 32-bit page

  void SetUp() override {
    open_screen(64, 48, 32);
    // Scale and rotation outlive DRAW calls; every test starts from the defaults.
    run_draw(nullptr, "S4 TA0");
  }
  void TearDown() override { screen_set_mode(0, 0, 0, 0, 0); }

  void open_screen(int32_t width, int32_t height, int32_t depth) {
    ASSERT_EQ(screen_set_resolution(width, height, depth, 1, SCREEN_NULL, 0), 0);
    ASSERT_NE(graphics_state(), nullptr);
  }
  DrawContext* context() { return get_draw_context(); }
  void set_pen(float x, float y) {
    context()->last_x = x;
    context()->last_y = y;
  }
};

}  // namespace zv::test
