#include "gfx/draw/paint.h"

#include <algorithm>
#include <cstring>

#include "gfx/core/auto_lock.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/draw/draw_common.h"
#include "gfx/draw/paint_internal.h"

namespace zv {

namespace {

// Registers every run reachable from the seed; nothing is drawn yet, so the scan never
// has to tell filled pixels from unfilled ones.
void collect_region(DrawContext* context, SpanBuckets* buckets, int32_t seed_x, int32_t seed_y, uint32_t border) {
  Span* head = scan_span(context, buckets, &seed_x, seed_y, border);
  if (!head) return;
  Span* tail = head;
  auto scan_neighbour_row = [&](const Span* span, int32_t row) {
    for (int32_t x = span->x1; x <= span->x2 && !buckets->out_of_memory; ++x) {
      if (context->get_pixel(context, x, row) == border) continue;
      if (Span* found = scan_span(context, buckets, &x, row, border)) {
        tail->next_in_queue = found;
        tail = found;
      }
    }
  };
  const int32_t view_bottom = context->view_y + context->view_h - 1;
  for (const Span* span = head; span && !buckets->out_of_memory; span = span->next_in_queue) {
    if (span->row - 1 >= context->view_y) scan_neighbour_row(span, span->row - 1);
    if (span->row + 1 <= view_bottom) scan_neighbour_row(span, span->row + 1);
  }
}

// Target column k takes tile column k AND 7.
void tile_span(DrawContext* context, const uint8_t* tile_row, int32_t x1, int32_t x2, int32_t row) {
  const int32_t bytes = context->bytes_per_pixel;
  for (int32_t k = x1; k <= x2;) {
    const int32_t column = k & 7;
    const int32_t count = std::min(8 - column, x2 - k + 1);
    depth_ops.copy_pixels(pixel_address(context, k, row), tile_row + column * bytes, count);
    k += count;
  }
}

void fill_region(DrawContext* context, GraphicsState* gs, const SpanBuckets& buckets, uint32_t colour,
                 int32_t pattern_mode, const uint8_t* tile) {
  auto_lock(gs);
  const bool visible = drawing_on_visible_page(context, gs);
  for (int32_t i = 0; i < buckets.row_count; ++i) {
    const int32_t row = buckets.first_row + i;
    const Span* span = buckets.rows[i];
    if (!span) continue;
    for (; span; span = span->next_in_row) {
      if (pattern_mode == 0)
        context->fill_span(pixel_address(context, span->x1, row), colour, span->x2 - span->x1 + 1);
      else
        tile_span(context, tile + (row & 7) * 8 * context->bytes_per_pixel, span->x1, span->x2, row);
    }
    if (visible) mark_dirty(gs, row, row);
  }
  auto_unlock(gs);
}

}  // namespace

void paint_fill(ImageBuffer* target, float x, float y, uint32_t fill_colour, uint32_t border_colour,
                StringDescriptor* pattern, int32_t pattern_mode, int32_t coordinate_flags) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context) {
    if (pattern) str_release_temp(pattern);
    return;
  }
  select_target(context, target);
  const uint32_t fill = (coordinate_flags & PAINT_USE_FOREGROUND) ? context->fg_colour
                                                                  : convert_colour(context->bytes_per_pixel, fill_colour);
  const uint32_t border = (coordinate_flags & PAINT_BORDER_IS_FILL)
                              ? fill
                              : convert_colour(context->bytes_per_pixel, border_colour);
  select_pixel_ops(context, fill);
  apply_step(context, coordinate_flags & 7, &x, &y, nullptr, nullptr);
  int32_t seed_x, seed_y;
  translate_point(context, x, y, &seed_x, &seed_y);

  uint8_t tile[PAINT_TILE_BYTES] = {};
  if (pattern) {
    if (pattern_mode == 1 && pattern->data)
      std::memcpy(tile, pattern->data, static_cast<size_t>(std::min(str_length(pattern), PAINT_TILE_BYTES)));
    str_release_temp(pattern);
  }
  if (!inside_view(context, seed_x, seed_y) || context->get_pixel(context, seed_x, seed_y) == border) return;

  SpanBuckets buckets;
  if (!buckets_open(context, &buckets)) return;
  collect_region(context, &buckets, seed_x, seed_y, border);
  // A region that could not be collected whole is not filled at all.
  if (!buckets.out_of_memory) fill_region(context, gs, buckets, fill, pattern_mode, tile);
  buckets_close(&buckets);
}

}  // namespace zv
