// Mouse messages: the host's mouse state, capture, leave tracking and mouse events.
#include "display/host/mouse_leave.h"
#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/window_system.h"

namespace zv {

namespace {

constexpr HostResult DEFAULT_PROCESSING{true, 0};

// Extra buttons and the horizontal wheel arrived with 5.0, the wheel with 4.10.
constexpr int32_t LAST_VERSION_WITHOUT_WHEEL = 0x0409;
constexpr int32_t LAST_VERSION_WITHOUT_EXTRAS = 0x04FF;

bool is_extra_button(int32_t bit) { return bit == BUTTON_EXTRA1 || bit == BUTTON_EXTRA2; }

bool valid_button(int32_t bit) {
  return bit == BUTTON_LEFT || bit == BUTTON_RIGHT || bit == BUTTON_MIDDLE || is_extra_button(bit);
}

HostResult post_then_default(const InputEvent& event) {
  if (event.kind != 0) post_event(event);
  return DEFAULT_PROCESSING;
}

HostResult mouse_move(void* window, const HostMessage& message, const WindowSystem* ws) {
  const uint64_t position = static_cast<uint64_t>(message.lparam);
  host_state.mouse_x = static_cast<int32_t>(position & 0xFFFF);
  host_state.mouse_y = static_cast<int32_t>((position >> 16) & 0xFFFF);
  InputEvent event{0, {host_state.mouse_x, host_state.mouse_y, 0, 0}};
  int32_t x = 0;
  int32_t y = 0;
  if (ws->get_cursor_pos(&x, &y)) {
    if (host_state.last_cursor_x != LAST_CURSOR_NONE) {
      event.data[2] = x - host_state.last_cursor_x;
      event.data[3] = y - host_state.last_cursor_y;
    }
    host_state.last_cursor_x = x;
    host_state.last_cursor_y = y;
  }
  if ((event.data[2] != 0 || event.data[3] != 0) && window_host.active) event.kind = EV_MOUSE_MOVE;
  mouse_enter_check(window, &event.kind);
  return post_then_default(event);
}

HostResult button(void* window, const HostMessage& message, const WindowSystem* ws) {
  const int32_t bit = static_cast<int32_t>(message.wparam);
  if (!valid_button(bit)) return DEFAULT_PROCESSING;
  if (is_extra_button(bit) && window_host.os_version <= LAST_VERSION_WITHOUT_EXTRAS) return DEFAULT_PROCESSING;
  InputEvent event{0, {bit, 0, 0, 0}};
  if (message.kind == HM_BUTTON_UP) {
    host_state.buttons &= ~bit;
    if (host_state.buttons == 0 && ws->has_capture(window)) ws->release_capture();
    event.kind = EV_BUTTON_UP;
  } else {
    ws->capture_mouse(window);
    host_state.buttons |= bit;
    event.kind = message.kind == HM_BUTTON_DOUBLE ? EV_DOUBLE_CLICK : EV_BUTTON_DOWN;
  }
  return post_then_default(event);
}

// One step per message, whatever distance the message reports.
HostResult wheel(const HostMessage& message) {
  const bool horizontal = message.kind == HM_HWHEEL;
  if (window_host.os_version <= (horizontal ? LAST_VERSION_WITHOUT_EXTRAS : LAST_VERSION_WITHOUT_WHEEL)) {
    return DEFAULT_PROCESSING;
  }
  int32_t step = static_cast<int32_t>(static_cast<uint32_t>(message.wparam)) > 0 ? 1 : -1;
  int32_t& position = horizontal ? host_state.hwheel : host_state.wheel;
  position += step;
  return post_then_default(InputEvent{horizontal ? EV_HWHEEL : EV_WHEEL, {position, 0, 0, 0}});
}

}  // namespace

void mouse_enter_check(void* window, int32_t* kind) {
  if (host_state.mouse_tracked || !window_host.active) return;
  if (host_state.track_mouse) host_state.track_mouse(window);
  host_state.mouse_tracked = 1;
  *kind = EV_MOUSE_ENTER;
  if (window_host.mouse_clip) clip_cursor();
}

HostResult handle_mouse_message(void* window, const HostMessage& message) {
  const WindowSystem* ws = window_system();
  if (!ws) return DEFAULT_PROCESSING;
  switch (message.kind) {
    case HM_MOUSE_MOVE:
      return mouse_move(window, message, ws);
    case HM_BUTTON_DOWN:
    case HM_BUTTON_DOUBLE:
    case HM_BUTTON_UP:
      return button(window, message, ws);
    case HM_WHEEL:
    case HM_HWHEEL:
      return wheel(message);
    case HM_MOUSE_LEAVE:
      if (!window_host.active) return DEFAULT_PROCESSING;
      post_event(InputEvent{EV_MOUSE_LEAVE, {}});
      host_state.mouse_tracked = 0;
      return HostResult{false, 0};
    case HM_MOUSE_ENTER: {
      int32_t kind = 0;
      mouse_enter_check(window, &kind);
      if (kind != 0) post_event(InputEvent{kind, {}});
      return HostResult{false, 0};
    }
    case HM_SET_CURSOR:
      ws->set_cursor_shape(!(host_state.cursor_in_client && !host_state.cursor_visible));
      return HostResult{false, 1};
    case HM_TIMER:
      if (message.wparam == MOUSE_LEAVE_TIMER_ID && host_state.track_mouse == emulate_track_mouse) {
        mouse_leave_tick(window);
      }
      return DEFAULT_PROCESSING;
    default:
      return DEFAULT_PROCESSING;
  }
}

}  // namespace zv
