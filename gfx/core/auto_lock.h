// The automatic screen lock every framebuffer or key-state operation wraps itself in:
// lock through the driver unless the screen is already locked, release only what it took.
#pragma once

#include "display/driver.h"
#include "gfx/core/graphics_state.h"

namespace zv {

inline void auto_lock(GraphicsState* gs) {
  if (gs->flags & (GS_LOCKED | GS_AUTO_LOCKED)) return;
  if (gs->driver && gs->driver->lock) gs->driver->lock();
  gs->flags |= GS_LOCKED | GS_AUTO_LOCKED;
}

inline void auto_unlock(GraphicsState* gs) {
  if (!(gs->flags & GS_AUTO_LOCKED)) return;
  // The flags change while the lock is still held: the window thread reads them.
  gs->flags &= ~(GS_LOCKED | GS_AUTO_LOCKED);
  if (gs->driver && gs->driver->unlock) gs->driver->unlock();
}

// Marks framebuffer rows first..last (inclusive, clipped to the screen) as changed.
inline void mark_dirty(GraphicsState* gs, int32_t first, int32_t last) {
  if (first < 0) first = 0;
  if (last >= gs->height) last = gs->height - 1;
  for (int32_t y = first; y <= last; ++y) gs->dirty[y] = 1;
}

}  // namespace zv
