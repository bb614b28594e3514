#include "gfx/draw/view.h"

#include <algorithm>

#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/draw/draw_common.h"
#include "gfx/draw/line.h"
#include "runtime/runtime.h"

namespace zv {

void view_set(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fill_colour, uint32_t border_colour,
              int32_t flags) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context) return;
  select_target(context, nullptr);
  select_pixel_ops(context, border_colour);
  order_corners(&x1, &y1, &x2, &y2);
  if ((x1 | y1 | x2 | y2) == VIEW_NOT_GIVEN) {
    context->flags &= ~DC_VIEW;
    context->view_x = 0;
    context->view_y = 0;
    context->view_w = gs->width;
    context->view_h = gs->height;
    return;
  }
  context->flags |= DC_VIEW;
  if (flags & VIEW_SCREEN)
    context->flags |= DC_ABSOLUTE;
  else
    context->flags &= ~DC_ABSOLUTE;

  if (!(flags & VIEW_NO_BORDER)) {
    const uint32_t colour = convert_colour(gs->bytes_per_pixel, border_colour) & gs->colour_mask;
    context->view_x = 0;
    context->view_y = 0;
    context->view_w = gs->width;
    context->view_h = gs->height;
    draw_box(saturate_int32(int64_t{x1} - 1), saturate_int32(int64_t{y1} - 1), saturate_int32(int64_t{x2} + 1),
             saturate_int32(int64_t{y2} + 1), colour, false, 0xFFFF);
  }

  const int64_t left = std::min<int64_t>(std::max(x1, 0), gs->width);
  const int64_t top = std::min<int64_t>(std::max(y1, 0), gs->height);
  // An empty view is stored as zero width or height so that every reader sees no pixel.
  context->view_x = static_cast<int32_t>(left);
  context->view_y = static_cast<int32_t>(top);
  context->view_w = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(x2, gs->width - 1) - left + 1));
  context->view_h = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(y2, gs->height - 1) - top + 1));

  if (!(flags & VIEW_NO_FILL)) {
    // The graphics clear in its view mode fills the view with the background colour.
    const uint32_t saved_background = context->bg_colour;
    context->bg_colour = convert_colour(gs->bytes_per_pixel, fill_colour);
    if (runtime.hooks.clear_screen) runtime.hooks.clear_screen(1);
    context->bg_colour = saved_background;
  }
}

}  // namespace zv
