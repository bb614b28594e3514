// The text grid: columns and rows, and the font whose cells fill the screen with them.
#include "gfx/core/screen.h"
#include "gfx/draw/view.h"
#include "gfx/text/fonts.h"
#include "gfx/text/graphics_text.h"

namespace zv {

namespace {

// The built-in font of cells w x h pixels, null when there is none.
const FontInfo* font_for_cell(int32_t w, int32_t h) {
  if (w != 8) return nullptr;
  switch (h) {
    case 8: return &font_8x8;
    case 14: return &font_8x14;
    case 16: return &font_8x16;
    default: return nullptr;
  }
}

}  // namespace

int32_t gfx_set_width(int32_t columns, int32_t rows) {
  GraphicsState* gs = graphics_state();
  if (!gs || !gs->font) return 0;
  const int32_t previous = gs->text_w + 65536 * gs->text_h;
  if (columns <= 0 && rows <= 0) return previous;
  const int32_t cell_w = columns > 0 ? gs->width / columns : gs->font->width;
  const int32_t cell_h = rows > 0 ? gs->height / rows : gs->font->height;
  const FontInfo* font = font_for_cell(cell_w, cell_h);
  if (!font) return previous;

  const FontInfo* old_font = gs->font;
  const int32_t old_w = gs->text_w, old_h = gs->text_h;
  gs->font = font;
  if (columns > 0) gs->text_w = columns;
  if (rows > 0) gs->text_h = rows;
  DrawContext* context = get_draw_context();
  if (reset_char_pages(context, true) != 0) {
    // Out of memory: keep the grid the existing text was laid out for.
    gs->font = old_font;
    gs->text_w = old_w;
    gs->text_h = old_h;
    reset_char_pages(context, true);
    set_error(ERR_ILLEGAL_CALL);
    return previous;
  }
  view_set(VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, 0, 0, VIEW_NO_BORDER | VIEW_NO_FILL);
  view_print_reset(0, 0);
  gfx_clear_screen(CLEAR_WHOLE_SCREEN);
  return previous;
}

}  // namespace zv
