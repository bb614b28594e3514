#include "display/x11/x11_rules.h"

#include <algorithm>
#include <cstring>

#include "gfx/core/graphics_state.h"

namespace zv {

int32_t x11_surface_type(int32_t bits_per_pixel, uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask,
                         int32_t* red_low) {
  struct Layout {
    int32_t bits;
    uint32_t high, green, low;
    int32_t type;
  };
  // The red-high order of each type; red-low swaps the outer masks.
  constexpr Layout layouts[] = {
      {32, 0xFF0000, 0x00FF00, 0x0000FF, 32},
      {24, 0xFF0000, 0x00FF00, 0x0000FF, 24},
      {16, 0xF800, 0x07E0, 0x001F, 16},
      {16, 0x7C00, 0x03E0, 0x001F, 15},
  };
  for (const Layout& l : layouts) {
    if (l.bits != bits_per_pixel || l.green != green_mask) continue;
    if (red_mask == l.high && blue_mask == l.low) {
      if (red_low) *red_low = 0;
      return l.type;
    }
    if (red_mask == l.low && blue_mask == l.high) {
      if (red_low) *red_low = 1;
      return l.type;
    }
  }
  return 0;
}

X11Placement x11_place(int32_t flags, int32_t width, int32_t height, const ScreenRect& monitor,
                       const ScreenRect& screen) {
  X11Placement p{};
  if (!(flags & SCREEN_FULLSCREEN)) {
    int32_t left = screen.left + ((screen.right - screen.left - width) >> 1);
    int32_t top = screen.top + ((screen.bottom - screen.top - height) >> 1);
    p.frame = ScreenRect{left, top, left + width, top + height};
    p.scale = 1;
    return p;
  }
  const int32_t mw = monitor.right - monitor.left;
  const int32_t mh = monitor.bottom - monitor.top;
  p.frame = monitor;
  p.scale = (width > 0 && height > 0) ? std::max(1, std::min(mw / width, mh / height)) : 1;
  p.view_x = (mw - width * p.scale) / 2;
  p.view_y = (mh - height * p.scale) / 2;
  return p;
}

int32_t x11_picture_coordinate(int32_t position, int32_t view_offset, int32_t scale, int32_t size) {
  if (size <= 0) return 0;
  int32_t relative = position - view_offset;
  if (relative < 0) return 0;
  return std::min(relative / std::max(scale, 1), size - 1);
}

namespace {

template <int32_t Bytes>
void widen_row(const uint8_t* source, uint8_t* destination, int32_t width, int32_t scale) {
  for (int32_t x = 0; x < width; ++x) {
    for (int32_t k = 0; k < scale; ++k) std::memcpy(destination + Bytes * (x * scale + k), source + Bytes * x, Bytes);
  }
}

using WidenRow = void (*)(const uint8_t*, uint8_t*, int32_t, int32_t);
constexpr WidenRow WIDEN_BY_BYTES[5] = {nullptr, &widen_row<1>, &widen_row<2>, &widen_row<3>, &widen_row<4>};

}  // namespace

void x11_scale_rows(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                    int32_t width, int32_t rows, int32_t bytes, int32_t scale) {
  if (bytes < 1 || bytes > 4 || scale < 1 || width <= 0) return;
  const size_t row_bytes = static_cast<size_t>(width) * bytes * scale;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* first = destination + static_cast<intptr_t>(y) * scale * destination_pitch;
    WIDEN_BY_BYTES[bytes](source + static_cast<intptr_t>(y) * source_pitch, first, width, scale);
    for (int32_t k = 1; k < scale; ++k) std::memcpy(first + static_cast<intptr_t>(k) * destination_pitch, first, row_bytes);
  }
}

}  // namespace zv
