// Small helpers shared by the drawing primitives of this folder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"

namespace zv {

// Drawing goes straight to the displayed page, so changed rows must be marked in `dirty`.
inline bool drawing_on_visible_page(const DrawContext* context, const GraphicsState* gs) {
  return context->rows && gs->visible_buffer && context->rows[0] == gs->visible_buffer;
}

// Callers must have clipped (x, y) to the view rectangle.
inline uint8_t* pixel_address(const DrawContext* context, int32_t x, int32_t y) {
  return context->rows[y] + static_cast<ptrdiff_t>(x) * context->bytes_per_pixel;
}

inline bool view_is_empty(const DrawContext* context) { return context->view_w <= 0 || context->view_h <= 0; }

inline bool inside_view(const DrawContext* context, int64_t x, int64_t y) {
  return x >= context->view_x && x < int64_t{context->view_x} + context->view_w && y >= context->view_y &&
         y < int64_t{context->view_y} + context->view_h;
}

// Dash patterns: the mask walks the 16 bits from bit 15 down to bit 0 and wraps around.
inline uint32_t rotate_mask(uint32_t mask, int64_t steps) {
  const uint32_t n = static_cast<uint32_t>(steps & 15);
  if (n == 0) return mask & 0xFFFF;
  return ((mask >> n) | (mask << (16 - n))) & 0xFFFF;
}

inline int32_t saturate_int32(int64_t v) {
  if (v < INT32_MIN) return INT32_MIN;
  if (v > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace zv
