// The DisplayDriver entries that the window-based back-ends share: lock, palette entry,
// timed vertical blank, mouse query and placement, title and position.
#include <algorithm>

#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "platform/platform.h"

namespace zv {

void host_lock() {
  if (host_state.lock) platform::recursive_lock_enter(host_state.lock);
}

void host_unlock() {
  if (host_state.lock) platform::recursive_lock_leave(host_state.lock);
}

void host_set_palette_entry(int32_t index, int32_t red, int32_t green, int32_t blue) {
  if (index < 0 || index > 255) return;
  HostPaletteEntry& entry = window_host.palette[index];
  entry.red = static_cast<uint8_t>(red);
  entry.green = static_cast<uint8_t>(green);
  entry.blue = static_cast<uint8_t>(blue);
  entry.flags = PALETTE_NO_COLLAPSE;
  window_host.palette_dirty = 1;
}

void host_wait_vblank() {
  const GraphicsState* gs = graphics_state();
  int32_t rate = gs ? gs->refresh_rate : 0;
  platform::sleep_ms(rate > 0 ? 1000 / rate : 16);
}

int32_t host_query_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  if (!window_host.active || !host_state.cursor_in_client) return -1;
  if (x) *x = host_state.mouse_x;
  if (y) *y = host_state.mouse_y;
  if (wheel) *wheel = host_state.wheel;
  if (buttons) *buttons = host_state.buttons;
  if (clip) *clip = window_host.mouse_clip;
  return 0;
}

void clip_cursor() {
  const WindowSystem* ws = window_system();
  ScreenRect rect;
  if (ws && window_host.window && ws->client_rect_on_screen(window_host.window, &rect)) ws->clip_cursor(&rect);
}

void release_cursor_clip() {
  if (const WindowSystem* ws = window_system()) ws->clip_cursor(nullptr);
}

// The cursor goes to the clamped point; the stored position keeps what was asked for.
void host_place_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
  const WindowSystem* ws = window_system();
  if (!ws) return;
  if (x >= 0) {
    int32_t cx = std::min(x, std::max(window_host.width - 1, 0));
    int32_t cy = std::min(std::max(y, 0), std::max(window_host.height - 1, 0));
    if (!(window_host.flags & SCREEN_FULLSCREEN) && window_host.window) {
      ws->client_to_screen(window_host.window, &cx, &cy);
    }
    ws->set_cursor_pos(cx, cy);
    host_state.mouse_x = x;
    host_state.mouse_y = y;
  }
  if (cursor >= 0) {
    int32_t visible = cursor > 0 ? 1 : 0;
    if (visible != host_state.cursor_visible) {
      host_state.cursor_visible = visible;
      if (window_host.window) ws->post_set_cursor(window_host.window);
    }
  }
  if (clip == 0) {
    release_cursor_clip();
    window_host.mouse_clip = 0;
  } else if (clip > 0) {
    window_host.mouse_clip = 1;
    clip_cursor();
  }
}

// The title change waits for the window thread, which needs the lock to pump messages.
void host_set_title(const char* title) {
  const WindowSystem* ws = window_system();
  if (!ws || !window_host.window || !title) return;
  const GraphicsState* gs = graphics_state();
  // Only a window thread waits for the lock; a driver without one has nothing to release.
  bool program_holds_lock = gs && (gs->flags & GS_LOCKED) && host_state.thread;
  if (program_holds_lock) host_unlock();
  ws->set_window_text(window_host.window, title);
  if (program_holds_lock) host_lock();
}

int32_t host_move_window(int32_t x, int32_t y) {
  const WindowSystem* ws = window_system();
  if (window_host.flags & SCREEN_FULLSCREEN) return 0;
  ScreenRect rect;
  if (!ws || !window_host.window || !ws->window_rect(window_host.window, &rect)) return 0;
  if (x == INT32_MIN) x = rect.left;
  if (y == INT32_MIN) y = rect.top;
  ws->move_window(window_host.window, x, y);
  return static_cast<int32_t>((static_cast<uint32_t>(rect.left) & 0xFFFFu) | (static_cast<uint32_t>(rect.top) << 16));
}

}  // namespace zv
