#include "display/blit/row_loop.h"
#include "runtime/cpu.h"

namespace zv {

namespace blit {

namespace {

// Used whenever the screen core has no table allocated, so a member never reads through null.
uint32_t own_table[512];

int32_t source_class(int32_t depth) {
  switch (depth) {
    case 1: case 2: case 4: case 8: return SOURCE_INDEXED;
    case 15: case 16: return SOURCE_16;
    case 24: case 32: return SOURCE_32;
    default: return -1;
  }
}

int32_t surface_type(int32_t type) {
  switch (type) {
    case 8: return TYPE_8;
    case 15: return TYPE_15;
    case 16: return TYPE_16;
    case 24: return TYPE_24;
    case 32: return TYPE_32;
    default: return -1;
  }
}

const BlitSet* set_of_level(int32_t level) {
  switch (level) {
    case SIMD_AVX512: return avx512_blitters();
    case SIMD_AVX2: return avx2_blitters();
    case SIMD_SSE2: return sse2_blitters();
    default: return nullptr;
  }
}

}  // namespace

const uint32_t* conversion_table() { return blit_conversion_table ? blit_conversion_table : own_table; }

}  // namespace blit

namespace blit {
namespace {

// The member for (type, red_low) on the current screen, or an empty one.
BlitMember choose_member(int32_t type, int32_t red_low) {
  if (red_low != 0 && red_low != 1) return {};
  // Both tables are kept current so that a member finds the right one whichever it reads.
  build_conversion_table(own_table, red_low == 1);
  if (blit_conversion_table) build_conversion_table(blit_conversion_table, red_low == 1);

  const GraphicsState* gs = current_screen;
  if (!gs) return {};
  int32_t source = source_class(gs->depth), surface = surface_type(type);
  if (source < 0 || surface < 0) return {};
  BlitMember plain = plain_blitters().member[source][surface][red_low];
  if (!plain.rows || !(gs->flags & GS_MMX)) return plain;
  // A set without this member leaves it to the next narrower one.
  for (int32_t level = simd_level(); level > SIMD_NONE; --level) {
    const BlitSet* set = set_of_level(level);
    if (set && set->member[source][surface][red_low].rows) return set->member[source][surface][red_low];
  }
  return plain;
}

}  // namespace
}  // namespace blit

BlitFunction choose_blitter(int32_t type, int32_t red_low) { return blit::choose_member(type, red_low).rows; }

SpanBlitFunction choose_span_blitter(int32_t type, int32_t red_low) {
  return blit::choose_member(type, red_low).spans;
}

}  // namespace zv
