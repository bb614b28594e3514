// The application's screen lock. It does not nest: one unlock releases any number of locks.
#include <cstring>

#include "gfx/core/screen.h"

namespace zv {

void screen_lock() {
  GraphicsState* gs = current_screen;
  if (!gs || (gs->flags & GS_LOCKED)) return;
  if (gs->driver && gs->driver->lock) gs->driver->lock();
  gs->flags |= GS_LOCKED;
}

void screen_unlock(int32_t start_line, int32_t end_line) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = current_screen;
  if (!gs) return;
  if (start_line < 0) start_line = 0;
  if (end_line < 0) end_line = gs->height - 1;
  // A range reaching past the screen is ignored, not clipped.
  if (context && context->work_page == gs->visible_page && start_line <= end_line && end_line < gs->height)
    std::memset(gs->dirty + start_line, 1, static_cast<size_t>(end_line - start_line + 1));
  if (gs->flags & GS_LOCKED) {
    gs->flags &= ~(GS_LOCKED | GS_AUTO_LOCKED);  // before the unlock: the window thread reads them
    if (gs->driver && gs->driver->unlock) gs->driver->unlock();
  }
}

}  // namespace zv
