// Dispatch of window messages, and the focus and window messages themselves.
#include <cstring>

#include "display/host/mouse_leave.h"
#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/window_system.h"
#include "input/keys.h"

namespace zv {

namespace {

constexpr HostResult DEFAULT_PROCESSING{true, 0};
constexpr HostResult HANDLED{false, 0};
constexpr uint64_t ALT_CONTEXT_BIT = 1ull << 29;

void update_cursor_in_client(void* window, const WindowSystem* ws) {
  int32_t x = 0;
  int32_t y = 0;
  ScreenRect client;
  host_state.cursor_in_client =
      ws->get_cursor_pos(&x, &y) && ws->client_rect_on_screen(window, &client) && rect_contains(client, x, y);
}

// Gaining or losing activation forgets held keys and buttons and redraws everything.
HostResult activate(void* window, const HostMessage& message, const WindowSystem* ws) {
  const uint32_t state = static_cast<uint32_t>(message.wparam & 0xFFFF);
  const uint32_t minimised = static_cast<uint32_t>((message.wparam >> 16) & 0xFFFF);
  window_host.active = (minimised == 0 && state != 0) ? 1 : 0;
  if (GraphicsState* gs = graphics_state(); gs && gs->key_state) std::memset(gs->key_state, 0, 128);
  host_state.buttons = 0;
  mark_all_rows_dirty();
  if (!window_host.active && host_state.mouse_tracked) {
    post_event(InputEvent{EV_MOUSE_LEAVE, {}});
    host_state.mouse_tracked = 0;
    ws->kill_timer(window, MOUSE_LEAVE_TIMER_ID);
  }
  if (state == 0 || minimised == 0) {
    post_event(InputEvent{window_host.active ? EV_FOCUS_GAINED : EV_FOCUS_LOST, {}});
  }
  if (window_host.active && host_state.cursor_in_client) {
    int32_t kind = 0;
    mouse_enter_check(window, &kind);
    if (kind != 0) post_event(InputEvent{kind, {}});
  } else if (window_host.mouse_clip) {
    if (window_host.active) {
      clip_cursor();
    } else {
      release_cursor_clip();
    }
  }
  return HANDLED;
}

// The window stays open: closing is the program's decision.
HostResult close_request() {
  post_key(KEY_CLOSE);
  post_event(InputEvent{EV_CLOSE, {}});
  return HANDLED;
}

HostResult paint(void* window, const WindowSystem* ws) {
  ws->begin_paint(window);
  if (window_host.driver_paint_hook) window_host.driver_paint_hook();
  ws->end_paint(window);
  return DEFAULT_PROCESSING;
}

HostResult display_change() {
  if (window_host.driver_paint_hook) window_host.driver_paint_hook();
  GraphicsState* gs = graphics_state();
  if (gs && gs->dirty && gs->height > 0) std::memset(gs->dirty, 1, static_cast<size_t>(gs->height));
  return DEFAULT_PROCESSING;
}

HostResult system_key_down(void* window, const HostMessage& message) {
  if (!window_host.active) return DEFAULT_PROCESSING;
  if ((message.wparam & 0xFFFF) == VK_RETURN_KEY && (static_cast<uint64_t>(message.lparam) & ALT_CONTEXT_BIT)) {
    switch_display();
    return HANDLED;
  }
  return handle_key_message(window, message);
}

}  // namespace

HostResult handle_window_message(void* window, const HostMessage& message) {
  const WindowSystem* ws = window_system();
  if (!ws) return DEFAULT_PROCESSING;
  update_cursor_in_client(window, ws);
  switch (message.kind) {
    case HM_KEY_DOWN:
    case HM_KEY_UP:
      return handle_key_message(window, message);
    case HM_SYSTEM_KEY_DOWN:
      return system_key_down(window, message);
    case HM_CHARACTER:
      return handle_character_message(message);
    case HM_MOUSE_MOVE:
    case HM_BUTTON_DOWN:
    case HM_BUTTON_DOUBLE:
    case HM_BUTTON_UP:
    case HM_WHEEL:
    case HM_HWHEEL:
    case HM_MOUSE_LEAVE:
    case HM_MOUSE_ENTER:
    case HM_SET_CURSOR:
    case HM_TIMER:
      return handle_mouse_message(window, message);
    case HM_ACTIVATE:
      return activate(window, message, ws);
    case HM_CLOSE:
      return close_request();
    case HM_PAINT:
      return paint(window, ws);
    case HM_DISPLAY_CHANGE:
      return display_change();
    case HM_MOVING:
      // The clip would hold the cursor at the old place; the flag stays for the next activation.
      if (window_host.mouse_clip) release_cursor_clip();
      return DEFAULT_PROCESSING;
    case HM_SIZE:
      if (window_host.active && message.wparam == SIZE_KIND_MAXIMISED) {
        switch_display();
        return HANDLED;
      }
      return DEFAULT_PROCESSING;
    default:
      return DEFAULT_PROCESSING;
  }
}

}  // namespace zv
