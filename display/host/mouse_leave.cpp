#include "display/host/mouse_leave.h"

#include "display/host/window_system.h"

namespace zv {

bool emulate_track_mouse(void* window) {
  const WindowSystem* ws = window_system();
  if (!ws || !window) return false;
  ws->set_timer(window, MOUSE_LEAVE_TIMER_ID, MOUSE_LEAVE_TIMER_MS);
  return true;
}

void mouse_leave_tick(void* window) {
  const WindowSystem* ws = window_system();
  if (!ws) return;
  int32_t x = 0;
  int32_t y = 0;
  ScreenRect client;
  bool inside = ws->get_cursor_pos(&x, &y) && ws->client_rect_on_screen(window, &client) &&
                rect_contains(client, x, y) && ws->window_from_point(x, y) == window;
  if (inside) return;
  ws->kill_timer(window, MOUSE_LEAVE_TIMER_ID);
  ws->post_mouse_leave(window);
}

}  // namespace zv
