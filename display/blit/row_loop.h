// The row loop every blitter shares, and the tables of blitters it is instantiated into.
#pragma once

#include <cstdint>
#include <cstring>

#include "display/blit/blit.h"
#include "display/blit/pixel_formats.h"
#include "gfx/core/graphics_state.h"

namespace zv::blit {

// Source classes and surface types, as table indices.
enum SourceClass : int32_t { SOURCE_INDEXED = 0, SOURCE_16 = 1, SOURCE_32 = 2, SOURCE_CLASSES = 3 };
enum SurfaceType : int32_t { TYPE_8 = 0, TYPE_15 = 1, TYPE_16 = 2, TYPE_24 = 3, TYPE_32 = 4, SURFACE_TYPES = 5 };

// One member in both forms: every dirty row, or listed stretches of rows.
struct BlitMember {
  BlitFunction rows;
  SpanBlitFunction spans;
};

// One member per (source class, surface type, order 0 red-high / 1 red-low); empty where
// the set has none (a vector set then falls back to the plain member).
struct BlitSet {
  BlitMember member[SOURCE_CLASSES][SURFACE_TYPES][2];
};

const BlitSet& plain_blitters();
// Null when the build or the processor has no such set.
const BlitSet* sse2_blitters();
const BlitSet* avx2_blitters();
const BlitSet* avx512_blitters();

// The 16-bit conversion table as last built by choose_blitter (never null).
const uint32_t* conversion_table();

// What a member prepares once per call.
struct RowContext {
  const uint32_t* lookup;   // device palette, conversion table or the converted palette below
  int32_t copy_bytes;       // for the copy member
  uint32_t converted[256];  // the device palette already in the surface's layout
  // The converted palette split into byte planes, for members that look bytes up by vector.
  alignas(64) uint8_t planes[4][256];
};

// A member supplies:
//   static constexpr int32_t source_bytes, dest_bytes;   dest_bytes 0: a copy of the source
//   static bool prepare(const GraphicsState&, RowContext&);   false: nothing can be drawn
//   static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext&);
// Returns the screen when the member can read it, else null.
template <class Member>
const GraphicsState* readable_screen() {
  const GraphicsState* gs = current_screen;
  if (!gs || !gs->visible_buffer || !gs->dirty) return nullptr;
  if (gs->width <= 0 || gs->height <= 0 || gs->scanline_size <= 0) return nullptr;
  // A pitch shorter than a row of pixels would read past the page.
  if (gs->pitch < 0 || int64_t{gs->pitch} < int64_t{gs->width} * Member::source_bytes) return nullptr;
  if (Member::dest_bytes == 0 && int64_t{gs->pitch} < int64_t{gs->width} * gs->bytes_per_pixel) return nullptr;
  return gs;
}

template <class Member>
void blit_rows(uint8_t* destination, int32_t destination_pitch) {
  const GraphicsState* gs = readable_screen<Member>();
  if (!gs || !destination) return;
  const int32_t height = gs->height, repeat = gs->scanline_size;
  RowContext context;
  if (!Member::prepare(*gs, context)) return;
  for (int32_t y = 0; y < height; ++y) {
    if (!gs->dirty[y]) continue;
    const uint8_t* source = gs->visible_buffer + intptr_t{y} * gs->pitch;
    for (int32_t r = 0; r < repeat; ++r) {
      uint8_t* row = destination + (intptr_t{y} * repeat + r) * intptr_t{destination_pitch};
      Member::row(source, row, gs->width, context);
    }
  }
}

template <class Member>
void blit_spans(uint8_t* destination, int32_t destination_pitch, const RowSpan* spans, int32_t count) {
  const GraphicsState* gs = readable_screen<Member>();
  if (!gs || !destination || !spans) return;
  const int32_t repeat = gs->scanline_size;
  // A copy moves whole source pixels, whatever their size.
  const int32_t source_bytes = Member::dest_bytes ? Member::source_bytes : gs->bytes_per_pixel;
  const int32_t dest_bytes = Member::dest_bytes ? Member::dest_bytes : gs->bytes_per_pixel;
  RowContext context;
  if (!Member::prepare(*gs, context)) return;
  for (int32_t i = 0; i < count; ++i) {
    const RowSpan& span = spans[i];
    const int32_t x0 = span.x0 < 0 ? 0 : span.x0, x1 = span.x1 > gs->width ? gs->width : span.x1;
    if (span.row < 0 || span.row >= gs->height || x1 <= x0) continue;
    const uint8_t* source = gs->visible_buffer + intptr_t{span.row} * gs->pitch + intptr_t{x0} * source_bytes;
    if (Member::dest_bytes == 0) context.copy_bytes = (x1 - x0) * source_bytes;
    for (int32_t r = 0; r < repeat; ++r) {
      uint8_t* row = destination + (intptr_t{span.row} * repeat + r) * intptr_t{destination_pitch} +
                     intptr_t{x0} * dest_bytes;
      Member::row(source, row, x1 - x0, context);
    }
  }
}

template <class Member>
constexpr BlitMember member_of{&blit_rows<Member>, &blit_spans<Member>};

// Copies pitch bytes per row: the framebuffer already has the surface's layout.
struct CopyMember {
  static constexpr int32_t source_bytes = 1, dest_bytes = 0;
  static bool prepare(const GraphicsState& gs, RowContext& context) {
    context.copy_bytes = gs.pitch;
    return true;
  }
  static void row(const uint8_t* source, uint8_t* destination, int32_t, const RowContext& context) {
    std::memcpy(destination, source, static_cast<size_t>(context.copy_bytes));
  }
};

// The lookup a plain member of this pair reads.
template <Format Source, Format Dest>
bool plain_lookup(const GraphicsState& gs, RowContext& context) {
  if constexpr (Source.bytes == 1) {
    context.lookup = gs.device_palette;
    return gs.device_palette != nullptr;
  } else {
    context.lookup = Source.bytes == 2 && Dest.bytes >= 3 ? conversion_table() : nullptr;
    return true;
  }
}

template <Format Source, Format Dest, bool RedLow>
struct PlainMember {
  static constexpr int32_t source_bytes = Source.bytes, dest_bytes = Dest.bytes;
  static bool prepare(const GraphicsState& gs, RowContext& context) { return plain_lookup<Source, Dest>(gs, context); }
  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext& context) {
    convert_row<Source, Dest, RedLow>(source, destination, width, context.lookup);
  }
};

}  // namespace zv::blit
