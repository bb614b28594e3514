#include "display/x11/x11_rules.h"

#include <algorithm>
#include <cstring>

#include "display/blit/widen.h"
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
                       const ScreenRect& screen, bool scale_up) {
  X11Placement p{};
  if (!(flags & SCREEN_FULLSCREEN)) {
    int32_t left = screen.left + ((screen.right - screen.left - width) >> 1);
    int32_t top = screen.top + ((screen.bottom - screen.top - height) >> 1);
    p.frame = ScreenRect{left, top, left + width, top + height};
    p.scale = 1;
    p.view_width = width;
    p.view_height = height;
    return p;
  }
  const int32_t mw = monitor.right - monitor.left;
  const int32_t mh = monitor.bottom - monitor.top;
  p.frame = monitor;
  p.scale = (scale_up && width > 0 && height > 0) ? std::max(1, std::min(mw / width, mh / height)) : 1;
  p.view_x = (mw - width * p.scale) / 2;
  p.view_y = (mh - height * p.scale) / 2;
  p.view_width = width * p.scale;
  p.view_height = height * p.scale;
  return p;
}

X11Placement x11_place_in_window(int32_t width, int32_t height, int32_t window_width, int32_t window_height) {
  X11Placement p{};
  width = std::max(width, 1);
  height = std::max(height, 1);
  window_width = std::max(window_width, 1);
  window_height = std::max(window_height, 1);
  p.frame = ScreenRect{0, 0, window_width, window_height};
  p.scale = 1;
  if (window_width >= width && window_height >= height) {
    p.scale = std::min(window_width / width, window_height / height);
    p.view_width = width * p.scale;
    p.view_height = height * p.scale;
  } else if (static_cast<int64_t>(window_width) * height <= static_cast<int64_t>(window_height) * width) {
    // The width limits: the picture takes the whole width.
    p.view_width = window_width;
    p.view_height = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(height) * window_width / width));
  } else {
    p.view_height = window_height;
    p.view_width = std::max<int32_t>(1, static_cast<int32_t>(static_cast<int64_t>(width) * window_height / height));
  }
  p.view_x = (window_width - p.view_width) / 2;
  p.view_y = (window_height - p.view_height) / 2;
  return p;
}

namespace {

// The first picture row (or column) that shown row i reduces: shown i takes picture
// rows start(i) .. start(i + 1) - 1, never none while shown <= size.
int32_t reduced_start(int32_t i, int32_t size, int32_t shown) {
  return static_cast<int32_t>(static_cast<int64_t>(i) * size / shown);
}

// The shown row that reduces picture row s: the last i with reduced_start(i) <= s.
int32_t reduced_row_of(int32_t s, int32_t size, int32_t shown) {
  const int64_t i = ((static_cast<int64_t>(s) + 1) * shown + size - 1) / size - 1;
  return static_cast<int32_t>(std::clamp<int64_t>(i, 0, shown - 1));
}

}  // namespace

int32_t x11_shown_rows(const X11Placement& place, int32_t height, int32_t top, int32_t rows, int32_t* shown_top) {
  *shown_top = 0;
  top = std::max(top, 0);
  rows = std::min(rows, height - top);
  if (rows <= 0 || height <= 0 || place.view_height <= 0) return 0;
  if (place.view_height >= height) {
    *shown_top = top * place.scale;
    return rows * place.scale;
  }
  *shown_top = reduced_row_of(top, height, place.view_height);
  return reduced_row_of(top + rows - 1, height, place.view_height) - *shown_top + 1;
}

int32_t x11_picture_coordinate(int32_t position, int32_t view_offset, int32_t scale, int32_t size) {
  if (size <= 0) return 0;
  int32_t relative = position - view_offset;
  if (relative < 0) return 0;
  return std::min(relative / std::max(scale, 1), size - 1);
}

void x11_scale_rows(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                    int32_t width, int32_t rows, int32_t bytes, int32_t scale) {
  widen_rows(source, source_pitch, destination, destination_pitch, width, rows, bytes, scale);
}

namespace {

// One shown row: the mean of the picture block under each shown pixel, byte by byte.
template <int32_t Bytes>
void reduce_row(const uint8_t* source, int32_t source_pitch, int32_t width, int32_t row_begin, int32_t row_end,
                uint8_t* destination, int32_t shown_width) {
  for (int32_t x = 0; x < shown_width; ++x) {
    const int32_t column_begin = reduced_start(x, width, shown_width);
    const int32_t column_end = reduced_start(x + 1, width, shown_width);
    uint32_t sum[Bytes] = {};
    for (int32_t s = row_begin; s < row_end; ++s) {
      const uint8_t* pixel = source + static_cast<intptr_t>(s) * source_pitch + Bytes * column_begin;
      for (int32_t c = column_begin; c < column_end; ++c, pixel += Bytes) {
        for (int32_t b = 0; b < Bytes; ++b) sum[b] += pixel[b];
      }
    }
    const uint32_t count = static_cast<uint32_t>((row_end - row_begin) * (column_end - column_begin));
    for (int32_t b = 0; b < Bytes; ++b) destination[Bytes * x + b] = static_cast<uint8_t>((sum[b] + count / 2) / count);
  }
}

template <int32_t Bytes>
void pick_row(const uint8_t* source, int32_t source_pitch, int32_t width, int32_t row_begin, int32_t, uint8_t* destination,
              int32_t shown_width) {
  const uint8_t* row = source + static_cast<intptr_t>(row_begin) * source_pitch;
  for (int32_t x = 0; x < shown_width; ++x) {
    std::memcpy(destination + Bytes * x, row + Bytes * reduced_start(x, width, shown_width), Bytes);
  }
}

using ReduceRow = void (*)(const uint8_t*, int32_t, int32_t, int32_t, int32_t, uint8_t*, int32_t);
constexpr ReduceRow REDUCE_BY_BYTES[5] = {nullptr, &pick_row<1>, &pick_row<2>, &reduce_row<3>, &reduce_row<4>};

}  // namespace

void x11_reduce_rows(const uint8_t* source, int32_t source_pitch, int32_t width, int32_t height, uint8_t* destination,
                     int32_t destination_pitch, int32_t shown_width, int32_t shown_height, int32_t bytes,
                     int32_t first, int32_t rows) {
  if (bytes < 1 || bytes > 4 || shown_width <= 0 || shown_height <= 0 || shown_width > width || shown_height > height) {
    return;
  }
  first = std::max(first, 0);
  const int32_t end = std::min(first + std::max(rows, 0), shown_height);
  for (int32_t y = first; y < end; ++y) {
    REDUCE_BY_BYTES[bytes](source, source_pitch, width, reduced_start(y, height, shown_height),
                           reduced_start(y + 1, height, shown_height),
                           destination + static_cast<intptr_t>(y) * destination_pitch, shown_width);
  }
}

}  // namespace zv
