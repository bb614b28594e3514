// Reading back what the text output recorded in a cell of the work page.
#include <cstddef>

#include "gfx/core/screen.h"
#include "gfx/text/graphics_text.h"
#include "gfx/text/text_internal.h"

namespace zv {

namespace {
constexpr int32_t CELL_CHARACTER = 0;
constexpr int32_t CELL_BACKGROUND = 2;
}  // namespace

int32_t gfx_read_cell(int32_t column, int32_t row, int32_t what) {
  DrawContext* context = get_draw_context();
  const GraphicsState* gs = graphics_state();
  if (!gs || !context) return 0;
  if (column < 1 || column > gs->text_w || row < 1 || row > gs->text_h) return 0;
  const CharCell* cells = work_cells(gs, context);
  if (!cells) return 0;
  const CharCell& cell = cells[static_cast<size_t>(row - 1) * gs->text_w + (column - 1)];
  if (what == CELL_CHARACTER) return static_cast<int32_t>(cell.character & 0xFF);
  if (gs->depth <= 4) return static_cast<int32_t>(cell.foreground + cell.background * 16);
  if (gs->depth <= 8) return static_cast<int32_t>(cell.foreground + cell.background * 256);
  const uint32_t colour = what == CELL_BACKGROUND ? cell.background : cell.foreground;
  return static_cast<int32_t>(gs->depth == 16 ? expand_565(colour) : colour);
}

}  // namespace zv
