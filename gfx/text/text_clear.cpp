// Clearing the screen, the graphics view or the text window to the background colour.
#include <algorithm>

#include "gfx/core/auto_lock.h"
#include "gfx/core/screen.h"
#include "gfx/text/fonts.h"
#include "gfx/text/graphics_text.h"
#include "gfx/text/text_internal.h"

namespace zv {

namespace {

int32_t effective_mode(const GraphicsState* gs, const DrawContext* context, int32_t mode) {
  if (mode != NOT_GIVEN) return mode;
  if (context->flags & DC_VIEW) return CLEAR_VIEW;
  if (view_top() == 0 && view_bottom() == gs->text_h - 1) return CLEAR_WHOLE_SCREEN;
  return CLEAR_TEXT_WINDOW;
}

// Fills pixel rows first..end-1 from column x for w pixels, all clipped to the screen;
// first and end come back as the rows actually filled.
void fill_rows(DrawContext* context, const GraphicsState* gs, int64_t x, int64_t w, int64_t* first, int64_t* end) {
  *first = std::max<int64_t>(*first, 0);
  *end = std::min<int64_t>(*end, gs->height);
  const int64_t left = std::clamp<int64_t>(x, 0, gs->width);
  const int64_t right = std::clamp<int64_t>(x + w, 0, gs->width);
  if (left >= right) {
    *end = *first;
    return;
  }
  for (int64_t y = *first; y < *end; ++y)
    context->fill_span(context->rows[y] + left * gs->bytes_per_pixel, context->bg_colour,
                       static_cast<int32_t>(right - left));
}

void set_last_point_to_view_centre(DrawContext* context) {
  context->last_x = static_cast<float>(context->view_x + context->view_w / 2);
  context->last_y = static_cast<float>(context->view_y + context->view_h / 2);
}

}  // namespace

void gfx_clear_screen(int32_t mode) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context) return;
  select_target(context, nullptr);
  select_pixel_ops(context, context->bg_colour);
  auto_lock(gs);

  int64_t first = 0, end = 0;
  switch (effective_mode(gs, context, mode)) {
    case CLEAR_WHOLE_SCREEN:
      end = gs->height;
      fill_rows(context, gs, 0, gs->width, &first, &end);
      fill_char_cells(0, 0, gs->text_w, gs->text_h, context->work_page, ' ', context->fg_colour,
                      context->bg_colour);
      set_last_point_to_view_centre(context);
      gfx_locate(std::max(std::min(view_top(), gs->text_h - 1), 0) + 1, 1, -1);
      break;
    case CLEAR_TEXT_WINDOW: {
      int32_t top = 0, bottom = 0;
      text_window_rows(gs, &top, &bottom);
      const int32_t h = gs->font ? gs->font->height : 0;
      first = int64_t{top} * h;
      end = (int64_t{bottom} + 1) * h;
      fill_rows(context, gs, 0, gs->width, &first, &end);
      fill_char_cells(0, top, gs->text_w, bottom + 1, context->work_page, ' ', context->fg_colour,
                      context->bg_colour);
      gfx_locate(top + 1, 1, -1);
      break;
    }
    default:
      first = context->view_y;
      end = int64_t{context->view_y} + context->view_h;
      fill_rows(context, gs, context->view_x, context->view_w, &first, &end);
      set_last_point_to_view_centre(context);
      break;
  }
  if (work_page_visible(gs, context) && first < end)
    mark_dirty(gs, static_cast<int32_t>(first), static_cast<int32_t>(end - 1));
  auto_unlock(gs);
}

}  // namespace zv
