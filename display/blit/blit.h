// Conversion of the shown framebuffer page into the pixel layout of a display surface.
#pragma once

#include <cstdint>

namespace zv {

// Converts the rows of the visible page whose dirty flag is set into the surface rows
// starting at destination, each source row repeated scanline_size times. Reads everything
// else from current_screen. destination_pitch may be negative (bottom-up surfaces). Rows
// whose flag is clear are not written; the flags are not cleared.
using BlitFunction = void (*)(uint8_t* destination, int32_t destination_pitch);

// type: bits per pixel of the surface (8, 15, 16, 24 or 32); red_low: 0 when red is the
// most significant colour field, 1 when it is the least. Rebuilds the 16-bit conversion
// table for that order, so call it again after switching orders. Returns null when the
// current screen's depth cannot be converted to that type (or no screen is open).
BlitFunction choose_blitter(int32_t type, int32_t red_low);

// A changed stretch of one source row: pixels x0 .. x1 - 1 of row `row`.
struct RowSpan {
  int32_t row;
  int32_t x0;
  int32_t x1;
};

// Converts only the listed stretches, each into the same place of the surface rows its
// source row fills (scanline_size of them), with the same bytes a BlitFunction writes
// there. Ignores the dirty flags; stretches beyond the page are cut to it.
using SpanBlitFunction = void (*)(uint8_t* destination, int32_t destination_pitch, const RowSpan* spans,
                                  int32_t count);

// The span form of the member choose_blitter picks for the same arguments.
SpanBlitFunction choose_span_blitter(int32_t type, int32_t red_low);

}  // namespace zv
