// The event ring of the open screen and the host-wide dirty marking.
#include <cstring>

#include "display/host/window_host.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

// Nothing to post into while no screen with a ring is open (for example during teardown).
GraphicsState* screen_with_ring() {
  GraphicsState* gs = graphics_state();
  return gs && gs->event_ring ? gs : nullptr;
}

void lock_ring(GraphicsState* gs) {
  if (gs->event_lock) mutex_lock(gs->event_lock);
}

void unlock_ring(GraphicsState* gs) {
  if (gs->event_lock) mutex_unlock(gs->event_lock);
}

}  // namespace

void post_event(const InputEvent& event) {
  GraphicsState* gs = screen_with_ring();
  if (!gs) return;
  lock_ring(gs);
  int32_t tail = gs->event_tail & (EVENT_RING_SIZE - 1);
  std::memcpy(&gs->event_ring[tail], &event, sizeof event);
  gs->event_tail = (tail + 1) & (EVENT_RING_SIZE - 1);
  if (gs->event_tail == (gs->event_head & (EVENT_RING_SIZE - 1))) {
    gs->event_head = (gs->event_tail + 1) & (EVENT_RING_SIZE - 1);
  }
  unlock_ring(gs);
}

bool read_event(InputEvent* event) {
  GraphicsState* gs = screen_with_ring();
  if (!gs || !event) return false;
  lock_ring(gs);
  int32_t head = gs->event_head & (EVENT_RING_SIZE - 1);
  bool found = head != (gs->event_tail & (EVENT_RING_SIZE - 1));
  if (found) {
    std::memcpy(event, &gs->event_ring[head], sizeof *event);
    gs->event_head = (head + 1) & (EVENT_RING_SIZE - 1);
  }
  unlock_ring(gs);
  return found;
}

void mark_all_rows_dirty() {
  GraphicsState* gs = graphics_state();
  if (!gs || !gs->dirty) return;
  int32_t rows = gs->height * (gs->scanline_size > 0 ? gs->scanline_size : 1);
  if (rows > 0) std::memset(gs->dirty, 1, static_cast<size_t>(rows));
}

}  // namespace zv
