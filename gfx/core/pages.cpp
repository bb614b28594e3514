// Screen pages and the text pages that shadow them.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "gfx/core/auto_lock.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/core/screen.h"
#include "platform/memory.h"

namespace zv {

namespace {

void free_char_pages(GraphicsState* gs) {
  if (!gs->char_pages) return;
  for (int32_t p = 0; p < gs->num_pages; ++p) std::free(gs->char_pages[p]);
  std::free(gs->char_pages);
  gs->char_pages = nullptr;
}

size_t cells_per_page(const GraphicsState* gs) {
  return static_cast<size_t>(gs->text_w > 0 ? gs->text_w : 0) * static_cast<size_t>(gs->text_h > 0 ? gs->text_h : 0);
}

}  // namespace

int32_t reset_char_pages(DrawContext* context, bool allocate) {
  GraphicsState* gs = current_screen;
  if (!gs) return 0;
  free_char_pages(gs);
  if (!allocate) return 0;
  size_t cells = cells_per_page(gs);
  auto** pages = static_cast<CharCell**>(platform::mem_calloc(static_cast<size_t>(gs->num_pages), sizeof(CharCell*)));
  if (!pages) return 1;
  gs->char_pages = pages;
  for (int32_t p = 0; p < gs->num_pages; ++p) {
    pages[p] = static_cast<CharCell*>(platform::mem_calloc(cells ? cells : 1, sizeof(CharCell)));
    if (!pages[p]) {
      free_char_pages(gs);
      return 1;
    }
  }
  if (context)
    fill_char_cells(0, 0, gs->text_w, gs->text_h, context->work_page, 32, context->fg_colour, context->bg_colour);
  return 0;
}

void fill_char_cells(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t page, uint16_t character,
                     uint32_t foreground, uint32_t background) {
  const GraphicsState* gs = current_screen;
  if (!gs || !gs->char_pages || page < 0 || page >= gs->num_pages) return;
  if (x1 < 0) x1 = 0;
  if (y1 < 0) y1 = 0;
  if (x2 > gs->text_w) x2 = gs->text_w;
  if (y2 > gs->text_h) y2 = gs->text_h;
  CharCell* cells = gs->char_pages[page];
  for (int32_t y = y1; y < y2; ++y)
    for (int32_t x = x1; x < x2; ++x)
      cells[static_cast<size_t>(y) * gs->text_w + x] = {character, foreground, background};
}

int32_t screen_set_pages(int32_t work_page, int32_t visible_page) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = current_screen;
  if (!gs || !context) return -1;
  int32_t previous = context->work_page | gs->visible_page << 8;
  select_target(context, nullptr);
  select_pixel_ops(context, 0xFF000000u);
  if (work_page < 0 && visible_page < 0) work_page = visible_page = 0;
  if (work_page >= 0 && work_page < gs->num_pages) {
    for (int32_t y = 0; y < gs->height; ++y)
      context->rows[y] = gs->pages[work_page] + static_cast<ptrdiff_t>(y) * gs->pitch;
    context->work_page = work_page;
  }
  if (visible_page >= 0 && visible_page < gs->num_pages && visible_page != gs->visible_page) {
    auto_lock(gs);
    gs->visible_page = visible_page;
    gs->visible_buffer = gs->pages[visible_page];
    std::memset(gs->dirty, 1, static_cast<size_t>(gs->height));
    auto_unlock(gs);
  }
  return previous;
}

int32_t screen_copy_page(int32_t source, int32_t destination) {
  GraphicsState* gs = current_screen;
  if (!gs) return set_error(ERR_ILLEGAL_CALL);
  // A back-end without an update thread shows its frame here instead of copying.
  if (gs->driver && gs->driver->present_frame) {
    gs->driver->present_frame();
    if (gs->driver->pump_input) gs->driver->pump_input();
    return set_error(ERR_NONE);
  }
  DrawContext* context = get_draw_context();
  if (!context) return set_error(ERR_ILLEGAL_CALL);
  select_target(context, nullptr);
  select_pixel_ops(context, 0xFF000000u);
  int32_t from = source < 0 ? context->work_page : source;
  int32_t to = destination < 0 ? gs->visible_page : destination;
  if (from >= gs->num_pages || to >= gs->num_pages) return set_error(ERR_ILLEGAL_CALL);
  uint8_t* from_buffer = gs->pages[from];
  uint8_t* to_buffer = gs->pages[to];
  if (from_buffer == to_buffer) return set_error(ERR_NONE);

  bool shown = to_buffer == gs->visible_buffer;
  if (shown) auto_lock(gs);
  // The view, kept inside the screen.
  int32_t left = context->view_x < 0 ? 0 : context->view_x;
  int32_t top = context->view_y < 0 ? 0 : context->view_y;
  int64_t right = int64_t{context->view_x} + context->view_w, bottom = int64_t{context->view_y} + context->view_h;
  if (right > gs->width) right = gs->width;
  if (bottom > gs->height) bottom = gs->height;
  for (int64_t y = top; y < bottom && left < right; ++y) {
    ptrdiff_t offset = static_cast<ptrdiff_t>(y) * gs->pitch + static_cast<ptrdiff_t>(left) * gs->bytes_per_pixel;
    depth_ops.copy_bytes(to_buffer + offset, from_buffer + offset, static_cast<size_t>(right - left) * gs->bytes_per_pixel);
  }
  if (gs->char_pages)
    std::memcpy(gs->char_pages[to], gs->char_pages[from], cells_per_page(gs) * sizeof(CharCell));
  if (shown) {
    if (top < bottom) mark_dirty(gs, top, static_cast<int32_t>(bottom - 1));
    auto_unlock(gs);
  }
  return set_error(ERR_NONE);
}

}  // namespace zv
