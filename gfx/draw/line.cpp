#include "gfx/draw/line.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "gfx/core/auto_lock.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/draw/draw_common.h"

namespace zv {

namespace {

struct Segment {
  int64_t x1, y1, x2, y2;
};

// Clipped coordinates lie between the segment's ends, so this only guards against rounding.
int64_t truncate_to_int64(long double v) {
  constexpr long double limit = 1e15L;
  if (!(v > -limit)) return -static_cast<int64_t>(limit);
  if (v > limit) return static_cast<int64_t>(limit);
  return static_cast<int64_t>(v);
}

// Cohen-Sutherland against the view; false when no part of the segment is inside.
// Point 1 may be swapped with point 2 on the way, which decides where a dash pattern starts.
bool clip_segment(const DrawContext* context, Segment* s) {
  const int64_t left = context->view_x;
  const int64_t right = left + context->view_w - 1;
  const int64_t top = context->view_y;
  const int64_t bottom = top + context->view_h - 1;
  // Truncation can push a point back over an edge it was moved to; give up after a few rounds.
  for (int round = 0; round < 16; ++round) {
    int32_t c1 = clip_outcode(context, s->x1, s->y1);
    int32_t c2 = clip_outcode(context, s->x2, s->y2);
    if ((c1 | c2) == 0) return true;
    if (c1 & c2) return false;
    if (c1 == 0) {
      std::swap(s->x1, s->x2);
      std::swap(s->y1, s->y2);
      c1 = c2;
    }
    const long double m = s->x1 == s->x2 ? 1.0L
                                         : static_cast<long double>(s->y2 - s->y1) /
                                               static_cast<long double>(s->x2 - s->x1);
    if (c1 & 1) {
      s->y1 = truncate_to_int64(s->y1 + (left - s->x1) * m);
      s->x1 = left;
    } else if (c1 & 2) {
      s->y1 = truncate_to_int64(s->y1 + (right - s->x1) * m);
      s->x1 = right;
    } else if (c1 & 8) {
      if (s->x1 != s->x2) s->x1 = truncate_to_int64(s->x1 + (top - s->y1) / m);
      s->y1 = top;
    } else {
      if (s->x1 != s->x2) s->x1 = truncate_to_int64(s->x1 + (bottom - s->y1) / m);
      s->y1 = bottom;
    }
  }
  return false;
}

// A dashed run from (x, y) over count pixels in direction (dx, dy); returns the mask after it.
uint32_t dashed_run(DrawContext* context, int32_t x, int32_t y, int32_t dx, int32_t dy, int64_t count,
                    uint32_t colour, uint32_t style, uint32_t mask) {
  for (int64_t i = 0; i < count; ++i) {
    if (style & mask) context->put_pixel(context, x, y, colour);
    mask = rotate_mask(mask, 1);
    x += dx;
    y += dy;
  }
  return mask;
}

// One row of pixels from x1 to x2 (x1 <= x2, clipped): a single span when solid.
uint32_t box_row(DrawContext* context, int32_t x1, int32_t x2, int32_t y, uint32_t colour, uint32_t style,
                 uint32_t mask) {
  if (style == LINE_STYLE_SOLID) {
    context->fill_span(pixel_address(context, x1, y), colour, x2 - x1 + 1);
    return mask;
  }
  return dashed_run(context, x1, y, 1, 0, int64_t{x2} - x1 + 1, colour, style, mask);
}

// Endpoints clipped; patterned from point 1 whatever the direction.
void plot_segment(DrawContext* context, const Segment& s, uint32_t colour, uint32_t style) {
  int32_t x1 = static_cast<int32_t>(s.x1), y1 = static_cast<int32_t>(s.y1);
  int32_t x2 = static_cast<int32_t>(s.x2), y2 = static_cast<int32_t>(s.y2);
  uint32_t mask = 0x8000;
  if (x1 == x2 || y1 == y2) {
    const bool vertical = x1 == x2;
    int32_t& a1 = vertical ? y1 : x1;
    int32_t& a2 = vertical ? y2 : x2;
    if (a2 < a1) {
      // Walk the other way with the pattern mirrored so that its first bit still falls on point 1.
      mask = 1u << ((a1 - a2) & 15);
      style = reverse_style(style);
      std::swap(a1, a2);
    }
    if (vertical)
      dashed_run(context, x1, y1, 0, 1, int64_t{y2} - y1 + 1, colour, style, mask);
    else
      box_row(context, x1, x2, y1, colour, style, mask);
    return;
  }
  const int64_t dx = std::abs(int64_t{x2} - x1), dy = std::abs(int64_t{y2} - y1);
  // Bresenham: one pixel per step along the longer axis, the other axis follows the error term.
  const bool steep = dx < dy;
  const int64_t major = steep ? dy : dx, minor = steep ? dx : dy;
  int32_t x = x1, y = y1;
  int32_t& major_pos = steep ? y : x;
  int32_t& minor_pos = steep ? x : y;
  const int32_t major_step = (steep ? y2 > y1 : x2 > x1) ? 1 : -1;
  const int32_t minor_step = (steep ? x2 > x1 : y2 > y1) ? 1 : -1;
  int64_t err = -major;
  for (int64_t i = 0; i <= major; ++i) {
    err += 2 * minor;
    if (style & mask) context->put_pixel(context, x, y, colour);
    mask = rotate_mask(mask, 1);
    if (err >= 0) {
      minor_pos += minor_step;
      err -= 2 * major;
    }
    major_pos += major_step;
  }
}

}  // namespace

int32_t clip_outcode(const DrawContext* context, int64_t x, int64_t y) {
  int32_t code = 0;
  if (x < context->view_x)
    code = 1;
  else if (x >= int64_t{context->view_x} + context->view_w)
    code = 2;
  if (y < context->view_y)
    code |= 8;
  else if (y >= int64_t{context->view_y} + context->view_h)
    code |= 4;
  return code;
}

uint32_t reverse_style(uint32_t style) {
  uint32_t reversed = 0;
  for (int bit = 0; bit < 16; ++bit)
    if (style & (1u << bit)) reversed |= 0x8000u >> bit;
  return reversed;
}

void draw_box(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, bool filled, uint32_t style) {
  GraphicsState* gs = graphics_state();
  DrawContext* context = get_draw_context();
  if (!gs || !context || view_is_empty(context) || x2 < x1 || y2 < y1) return;
  const int64_t view_left = context->view_x, view_top = context->view_y;
  const int64_t view_right = view_left + context->view_w - 1, view_bottom = view_top + context->view_h - 1;
  if (x2 < view_left || y2 < view_top || x1 > view_right || y1 > view_bottom) return;
  const int32_t cx1 = static_cast<int32_t>(std::max<int64_t>(x1, view_left));
  const int32_t cy1 = static_cast<int32_t>(std::max<int64_t>(y1, view_top));
  const int32_t cx2 = static_cast<int32_t>(std::min<int64_t>(x2, view_right));
  const int32_t cy2 = static_cast<int32_t>(std::min<int64_t>(y2, view_bottom));
  auto_lock(gs);
  if (filled) {
    for (int32_t row = cy1; row <= cy2; ++row)
      context->fill_span(pixel_address(context, cx1, row), colour, cx2 - cx1 + 1);
  } else {
    style &= 0xFFFF;
    const bool solid = style == LINE_STYLE_SOLID;
    const int64_t width = int64_t{cx2} - cx1 + 1, height = int64_t{cy2} - cy1 + 1;
    // Clipped-away parts still use up pattern bits, so the dashes sit where the whole box would put them.
    auto skip = [&](uint32_t mask, int64_t pixels) { return solid ? mask : rotate_mask(mask, pixels); };
    uint32_t mask = skip(0x8000, int64_t{cx1} - x1);
    mask = y2 <= view_bottom ? box_row(context, cx1, cx2, y2, colour, style, mask) : skip(mask, width);
    mask = skip(mask, (int64_t{x2} - cx2) + (int64_t{cx1} - x1));
    mask = y1 >= view_top ? box_row(context, cx1, cx2, y1, colour, style, mask) : skip(mask, width);
    mask = skip(mask, (int64_t{x2} - cx2) + (int64_t{cy1} - y1));
    mask = x2 <= view_right ? dashed_run(context, x2, cy1, 0, 1, height, colour, style, mask) : skip(mask, height);
    mask = skip(mask, (int64_t{y2} - cy2) + (int64_t{cy1} - y1));
    if (x1 >= view_left) dashed_run(context, x1, cy1, 0, 1, height, colour, style, mask);
  }
  if (drawing_on_visible_page(context, gs)) mark_dirty(gs, cy1, cy2);
  auto_unlock(gs);
}

void draw_line(ImageBuffer* target, float x1, float y1, float x2, float y2, uint32_t colour, int32_t box_mode,
               uint32_t style, int32_t coordinate_flags) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context) return;
  select_target(context, target);
  const uint32_t pixel = (coordinate_flags & LINE_USE_FOREGROUND) ? context->fg_colour
                                                                   : convert_colour(context->bytes_per_pixel, colour);
  select_pixel_ops(context, pixel);
  style &= 0xFFFF;
  apply_step(context, coordinate_flags & 7, &x1, &y1, &x2, &y2);
  int32_t tx1, ty1, tx2, ty2;
  translate_point(context, x1, y1, &tx1, &ty1);
  translate_point(context, x2, y2, &tx2, &ty2);
  if (box_mode != LINE_BOX_NONE) {
    order_corners(&tx1, &ty1, &tx2, &ty2);
    draw_box(tx1, ty1, tx2, ty2, pixel, box_mode == LINE_BOX_FILLED, style);
    return;
  }
  Segment segment{tx1, ty1, tx2, ty2};
  if (view_is_empty(context) || !clip_segment(context, &segment)) return;
  auto_lock(gs);
  plot_segment(context, segment, pixel, style);
  if (drawing_on_visible_page(context, gs))
    mark_dirty(gs, static_cast<int32_t>(std::min(segment.y1, segment.y2)),
               static_cast<int32_t>(std::max(segment.y1, segment.y2)));
  auto_unlock(gs);
}

}  // namespace zv
