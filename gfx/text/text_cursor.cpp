// The graphics text cursor and the size queries.
#include "gfx/core/graphics_state.h"
#include "gfx/text/graphics_text.h"
#include "runtime/runtime.h"

namespace zv {

int32_t gfx_locate(int32_t row, int32_t column, int32_t /*visibility*/) {
  GraphicsState* gs = graphics_state();
  if (!gs) return set_error(ERR_ILLEGAL_CALL);
  // The wrapper has checked the text window; a direct call is still kept on the screen.
  if ((row != 0 && (row < 1 || row > gs->text_h)) || (column != 0 && (column < 1 || column > gs->text_w))) {
    set_error(ERR_ILLEGAL_CALL);
  } else {
    gs->flags &= ~GS_NEWLINE_PENDING;
    if (row != 0) gs->cursor_y = row - 1;
    if (column != 0) gs->cursor_x = column - 1;
    runtime.console_channel.output_column = gs->cursor_x;
  }
  return (gs->cursor_y & 255) * 256 + (gs->cursor_x & 255) + 257;
}

int32_t gfx_get_column() {
  const GraphicsState* gs = graphics_state();
  return gs ? gs->cursor_x + 1 : 0;
}

int32_t gfx_get_row() {
  const GraphicsState* gs = graphics_state();
  return gs ? gs->cursor_y + 1 : 0;
}

void gfx_get_cursor(int32_t* column, int32_t* row) {
  if (column) *column = gfx_get_column();
  if (row) *row = gfx_get_row();
}

void gfx_get_size(int32_t* columns, int32_t* rows) {
  const GraphicsState* gs = graphics_state();
  if (columns) *columns = gs ? gs->text_w : 0;
  if (rows) *rows = gs ? gs->text_h : 0;
}

void cursor_back() {
  GraphicsState* gs = graphics_state();
  if (!gs) return;
  if (gs->flags & GS_NEWLINE_PENDING) {
    // The cursor stands parked on the cell just before its real place.
    gs->flags &= ~GS_NEWLINE_PENDING;
    return;
  }
  if (gs->cursor_x > 0) {
    --gs->cursor_x;
  } else {
    gs->cursor_x = gs->text_w - 1;
    --gs->cursor_y;
  }
}

}  // namespace zv
