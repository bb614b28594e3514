#include "display/gdi/gdi_rules.h"

#include <cstring>

#include "display/blit/row_loop.h"

namespace zv {

namespace {

constexpr int32_t round_up_4(int32_t n) { return (n + 3) & ~3; }

}  // namespace

GdiConversion gdi_choose_conversion(int32_t flags, int32_t depth, int32_t width, int32_t pitch, int32_t scanline_size,
                                    BlitterChooser choose) {
  GdiConversion c{GDI_DIRECT, nullptr, 0, 0};
  if ((flags & SCREEN_SHAPED_WINDOW) && depth == 32) {
    c.kind = GDI_ALPHA_CLEAR;
    c.blit = gdi_alpha_clear_blit;
  } else if (depth == 16) {
    c.kind = GDI_TO_555;
    c.blit = choose ? choose(15, 0) : nullptr;
  } else if ((depth == 8 || depth == 32) && (width % 4 != 0 || scanline_size > 1)) {
    c.kind = GDI_COPY;
    c.blit = choose ? choose(depth, 0) : nullptr;
  }
  if (c.kind != GDI_DIRECT) {
    // Window rows start on 4-byte boundaries.
    c.buffer_pitch = round_up_4(pitch);
    c.buffer_row_bytes = round_up_4(width) * (depth / 8);
  }
  return c;
}

SpanBlitFunction gdi_span_conversion(GdiConversionKind kind, int32_t depth) {
  switch (kind) {
    case GDI_ALPHA_CLEAR: return gdi_alpha_clear_spans;
    case GDI_TO_555: return choose_span_blitter(15, 0);
    case GDI_COPY: return choose_span_blitter(depth, 0);
    default: return nullptr;
  }
}

bool gdi_find_band(const uint8_t* dirty, int32_t rows, int32_t* first, int32_t* last) {
  if (!dirty || rows <= 0) return false;
  int32_t y = 0;
  while (y < rows && !dirty[y]) ++y;
  if (y == rows) return false;
  int32_t b = rows - 1;
  while (!dirty[b]) --b;
  *first = y;
  *last = b;
  return true;
}

bool gdi_mode_matches(int32_t depth, int32_t mode_bits) {
  if (mode_bits == depth) return true;
  return (depth == 15 && mode_bits == 16) || (depth == 16 && mode_bits == 15) || (depth == 24 && mode_bits == 32) ||
         (depth == 32 && mode_bits == 24);
}

namespace {

// Shaped windows key on the colour alone, so the byte above it must not leak into the window.
struct AlphaClearMember {
  static constexpr int32_t source_bytes = 4, dest_bytes = 4;
  static bool prepare(const GraphicsState& gs, blit::RowContext&) { return gs.bytes_per_pixel == 4; }
  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const blit::RowContext&) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, source + 4 * x, 4);
      pixel &= 0x00FFFFFFu;
      std::memcpy(destination + 4 * x, &pixel, 4);
    }
  }
};

}  // namespace

void gdi_alpha_clear_blit(uint8_t* destination, int32_t destination_pitch) {
  blit::blit_rows<AlphaClearMember>(destination, destination_pitch);
}

void gdi_alpha_clear_spans(uint8_t* destination, int32_t destination_pitch, const RowSpan* spans, int32_t count) {
  blit::blit_spans<AlphaClearMember>(destination, destination_pitch, spans, count);
}

}  // namespace zv
