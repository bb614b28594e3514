// Pieces the graphics text operations share among themselves.
#pragma once

#include <cstdint>

#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"

namespace zv {

// The screen's text cell page of the context's work page, null when there is none.
inline CharCell* work_cells(const GraphicsState* gs, const DrawContext* context) {
  if (!gs->char_pages || context->work_page < 0 || context->work_page >= gs->num_pages) return nullptr;
  return gs->char_pages[context->work_page];
}

inline bool work_page_visible(const GraphicsState* gs, const DrawContext* context) {
  return context->work_page >= 0 && context->work_page < gs->num_pages &&
         gs->pages[context->work_page] == gs->visible_buffer;
}

// A 5-6-5 pixel widened to 0xFFRRGGBB, each field's top bits repeated below it.
inline uint32_t expand_565(uint32_t pixel) {
  const uint32_t b5 = pixel & 31, g6 = (pixel >> 5) & 63, r5 = (pixel >> 11) & 31;
  const uint32_t blue = (b5 << 3) | (b5 >> 2);
  const uint32_t green = (g6 << 2) | (g6 >> 4);
  const uint32_t red = (r5 << 3) | (r5 >> 2);
  return 0xFF000000u | red << 16 | green << 8 | blue;
}

// The text window rows, kept inside the screen's rows.
void text_window_rows(const GraphicsState* gs, int32_t* top, int32_t* bottom);

}  // namespace zv
