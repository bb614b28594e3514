// The GDI driver's decisions that need no window system: which conversion the window
// needs, how big its buffer is, which band of rows one update sends, which modes fit.
#pragma once

#include <cstdint>

#include "display/host/window_host.h"

namespace zv {

// Chooses a blitter for (display type, red-low): choose_blitter in the driver.
using BlitterChooser = BlitFunction (*)(int32_t type, int32_t red_low);

enum GdiConversionKind : int32_t {
  GDI_DIRECT = 0,       // the visible page goes to the window as it is
  GDI_ALPHA_CLEAR,      // shaped 32-bit window: pixels copied with the top byte cleared
  GDI_TO_555,           // 16-bit pages shown through a 5-5-5 buffer
  GDI_COPY,             // rows that the window cannot take directly, copied into aligned rows
};

struct GdiConversion {
  GdiConversionKind kind;
  BlitFunction blit;           // null for GDI_DIRECT, or when the choice could not serve the case
  int32_t buffer_pitch;        // bytes from one buffer row to the next
  int32_t buffer_row_bytes;    // bytes allocated per buffer row (display height rows)
};

// depth is the GraphicsState depth (8, 16 or 32 as shown), width and pitch the page's.
GdiConversion gdi_choose_conversion(int32_t flags, int32_t depth, int32_t width, int32_t pitch, int32_t scanline_size,
                                    BlitterChooser choose);

// The span form of the conversion chosen for this kind and depth (null for GDI_DIRECT).
SpanBlitFunction gdi_span_conversion(GdiConversionKind kind, int32_t depth);

// The first and last set flag among the first `rows` of dirty; false when none is set.
bool gdi_find_band(const uint8_t* dirty, int32_t rows, int32_t* first, int32_t* last);

// Whether a display mode of `mode_bits` serves a request for `depth` bits (15/16 and 24/32 pair up).
bool gdi_mode_matches(int32_t depth, int32_t mode_bits);

// The 32-bit copy for shaped windows, with the top byte of every pixel cleared.
void gdi_alpha_clear_blit(uint8_t* destination, int32_t destination_pitch);
void gdi_alpha_clear_spans(uint8_t* destination, int32_t destination_pitch, const RowSpan* spans, int32_t count);

}  // namespace zv
