// The X11 driver's decisions that need no X server: which conversion a visual needs,
// where the window and the picture go, and the integer scaling of converted rows.
#pragma once

#include <cstdint>

#include "display/host/window_system.h"

namespace zv {

// The blitter type (15, 16, 24 or 32) for a TrueColor visual with these masks and
// pixel size, and whether red is the lowest field; 0 when no blitter serves it.
int32_t x11_surface_type(int32_t bits_per_pixel, uint32_t red_mask, uint32_t green_mask, uint32_t blue_mask,
                         int32_t* red_low);

struct X11Placement {
  ScreenRect frame;  // the top-level window on the screen
  int32_t view_x;    // the picture inside it
  int32_t view_y;
  int32_t scale;     // screen pixels per picture pixel; 1 when the picture is reduced
  int32_t view_width;  // the picture as shown: width x scale, or less when reduced
  int32_t view_height;
};

// A window is centred on the screen with the picture filling it. Full screen covers the
// monitor and centres the picture on black, scaled by the largest whole factor that fits
// (1 when even that does not fit: the picture is then cut at the edges), or not scaled
// when scale_up is false.
X11Placement x11_place(int32_t flags, int32_t width, int32_t height, const ScreenRect& monitor,
                       const ScreenRect& screen, bool scale_up = true);

// Inside a window of window_width x window_height that someone else made (a screen
// locker's): the picture centred, enlarged by the largest whole factor that fits, or
// reduced to fit with its proportions kept when the window is smaller (a preview).
X11Placement x11_place_in_window(int32_t width, int32_t height, int32_t window_width, int32_t window_height);

// Whether the picture is shown smaller than it is.
inline bool x11_reduced(const X11Placement& place, int32_t width, int32_t height) {
  return place.view_width < width || place.view_height < height;
}

// The shown rows that picture rows top..top+rows-1 reach at this placement, as
// *shown_top and the returned count (0 when none).
int32_t x11_shown_rows(const X11Placement& place, int32_t height, int32_t top, int32_t rows, int32_t* shown_top);

// A pointer position on the window (pixels from its left or top) as a picture coordinate:
// points beside the picture count as its nearest edge, as a screen of that size would keep them.
int32_t x11_picture_coordinate(int32_t position, int32_t view_offset, int32_t scale, int32_t size);

// Copies rows of `width` pixels of `bytes` each, every pixel widened to `scale` pixels and
// every row repeated `scale` times. destination receives rows * scale rows.
void x11_scale_rows(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                    int32_t width, int32_t rows, int32_t bytes, int32_t scale);

// Writes shown rows first..first+rows-1 of a picture of width x height pixels (`bytes`
// each) reduced to shown_width x shown_height, no larger than it. Each shown pixel is the
// mean of the picture pixels that fall on it, byte by byte, so thin lines stay visible;
// 16-bit pixels, whose fields are not bytes, take the first of them instead.
void x11_reduce_rows(const uint8_t* source, int32_t source_pitch, int32_t width, int32_t height, uint8_t* destination,
                     int32_t destination_pitch, int32_t shown_width, int32_t shown_height, int32_t bytes,
                     int32_t first, int32_t rows);

}  // namespace zv
