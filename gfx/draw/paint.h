// PAINT: flood fill of the region around a seed, bounded by a border colour or the view.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/core/draw_context.h"
#include "runtime/strings.h"

namespace zv {

struct ImageBuffer;

// Coordinate flags: low three bits are the step code of the seed point.
constexpr int32_t PAINT_USE_FOREGROUND = INT32_MIN;      // fill with the context's foreground colour
constexpr int32_t PAINT_BORDER_IS_FILL = 0x40000000;     // the border colour is the fill colour
constexpr int32_t PAINT_TILE_BYTES = 256;                // 8 rows of 8 pixels at up to 4 bytes

// Fills around (x, y) in target (null = the screen). pattern_mode 0 fills with fill_colour;
// any other mode copies an 8 x 8 tile, whose bytes come from pattern when the mode is 1.
// pattern is released when it is a temporary. Nothing is drawn if memory for the region
// runs out.
void paint_fill(ImageBuffer* target, float x, float y, uint32_t fill_colour, uint32_t border_colour,
                StringDescriptor* pattern, int32_t pattern_mode, int32_t coordinate_flags);

// One maximal run of non-border pixels.
struct Span {
  int32_t row;
  int32_t x1;
  int32_t x2;  // inclusive
  Span* next_in_row;
  Span* next_in_queue;
};

struct SpanChunk;

// The spans found so far: one list per view row, plus a record of which columns start a
// known run, so that finding a run again costs nothing.
struct SpanBuckets {
  Span** rows;  // view_h lists, first entry for row view_y
  int32_t first_row;
  int32_t row_count;
  uint8_t* known_starts;  // one bit per view pixel
  int32_t first_column;
  int32_t column_count;
  SpanChunk* chunks;
  Span* queue_tail;
  bool out_of_memory;
};

// Finds the run through (*x, row), registers it and returns it, or null when it is already
// known (or no memory is left); *x moves to the column after the run. The pixel at
// (*x, row) must lie in the view and differ from the border.
Span* scan_span(DrawContext* context, SpanBuckets* buckets, int32_t* x, int32_t row, uint32_t border);

// All memory of a fill comes from here; tests put a failing allocator in place.
struct PaintAllocator {
  void* (*allocate)(size_t bytes);  // zero-filled
  void (*release)(void* block);
};
// Null restores calloc and free.
void paint_set_allocator(const PaintAllocator* allocator);

}  // namespace zv
