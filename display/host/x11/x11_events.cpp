// The message pump: X events of the host's window become the window procedure's messages.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/x11/x11_host.h"
#include "input/keys.h"
#include "platform/platform.h"

namespace zv {

namespace {

X11InputState input;

constexpr uint32_t DOUBLE_CLICK_MS = 500;
constexpr int32_t DOUBLE_CLICK_DISTANCE = 4;
constexpr uint64_t ACTIVE_STATE = 1;
constexpr uint64_t MINIMISED = 1ull << 16;

void send(const HostMessage& message) { handle_window_message(window_host.window, message); }

// Client coordinates as the procedure takes them: picture x in bits 0-15, y in 16-31.
int64_t picture_point(const X11Window& w, int32_t x, int32_t y) {
  int32_t px = x11_picture_coordinate(x, w.place.view_x, w.place.scale, w.width);
  int32_t py = x11_picture_coordinate(y, w.place.view_y, w.place.scale, w.height);
  return static_cast<int64_t>((static_cast<uint32_t>(py) << 16) | (static_cast<uint32_t>(px) & 0xFFFF));
}

void key_event(XKeyEvent* event, bool down) {
  // The layout's symbol without Ctrl and Alt: those are applied the Windows way.
  XKeyEvent plain = *event;
  plain.state &= ~static_cast<unsigned>(ControlMask | Mod1Mask);
  char text[8];
  KeySym keysym = NoSymbol;
  XLookupString(&plain, text, sizeof text, &keysym, nullptr);
  KeySym base = XLookupKeysym(event, 0);
  X11Key key{event->keycode, static_cast<uint32_t>(base), static_cast<uint32_t>(keysym)};
  X11KeyMessages out = x11_key_event(&input.keyboard, key, down);
  if (!out.valid) return;
  input.typed = out.typed;
  input.dead_key = out.dead;
  send(out.key);
  if (out.has_character) send(out.character);
  input.typed = 0;
  input.dead_key = false;
}

int32_t button_bit(unsigned int button) {
  switch (button) {
    case Button1: return BUTTON_LEFT;
    case Button2: return BUTTON_MIDDLE;
    case Button3: return BUTTON_RIGHT;
    case 8: return BUTTON_EXTRA1;
    case 9: return BUTTON_EXTRA2;
    default: return 0;
  }
}

// X has no double clicks: a second press of the same button soon and near enough is one.
bool is_double_click(const XButtonEvent& event, int32_t bit) {
  bool near = std::abs(event.x - input.last_click_x) <= DOUBLE_CLICK_DISTANCE &&
              std::abs(event.y - input.last_click_y) <= DOUBLE_CLICK_DISTANCE;
  bool soon = static_cast<uint32_t>(event.time - input.last_click_time) <= DOUBLE_CLICK_MS;
  bool twice = input.last_click_button == bit && near && soon;
  input.last_click_button = twice ? 0 : bit;
  input.last_click_time = static_cast<uint32_t>(event.time);
  input.last_click_x = event.x;
  input.last_click_y = event.y;
  return twice;
}

// Buttons 4 and 5 turn the wheel, 6 and 7 the horizontal wheel; they have no release.
void button_event(const X11Window& w, const XButtonEvent& event, bool down) {
  send(HostMessage{HM_MOUSE_MOVE, 0, picture_point(w, event.x, event.y)});
  if (event.button >= 4 && event.button <= 7) {
    if (!down) return;
    bool away_or_right = event.button == 4 || event.button == 7;
    int32_t kind = event.button <= 5 ? HM_WHEEL : HM_HWHEEL;
    send(HostMessage{kind, static_cast<uint64_t>(static_cast<uint32_t>(away_or_right ? 120 : -120)), 0});
    return;
  }
  int32_t bit = button_bit(event.button);
  if (bit == 0) return;
  int32_t kind = !down ? HM_BUTTON_UP : is_double_click(event, bit) ? HM_BUTTON_DOUBLE : HM_BUTTON_DOWN;
  send(HostMessage{kind, static_cast<uint64_t>(bit), 0});
}

void activate(bool active, bool minimised) {
  if (!active) x11_clear_keyboard(&input.keyboard);
  send(HostMessage{HM_ACTIVATE, (active ? ACTIVE_STATE : 0) | (minimised ? MINIMISED : 0), 0});
}

// A window manager maximising the window asks for full screen, hiding it minimises it.
void window_state_changed(const X11Connection& c, const X11Window& w) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(c.display, w.frame, c.atoms.net_wm_state, 0, 32, False, XA_ATOM, &type, &format, &count,
                         &after, &data) != Success || !data) {
    return;
  }
  bool horizontal = false, vertical = false;
  const Atom* states = reinterpret_cast<const Atom*>(data);
  for (unsigned long i = 0; i < count; ++i) {
    horizontal |= states[i] == c.atoms.net_wm_state_maximized_horz;
    vertical |= states[i] == c.atoms.net_wm_state_maximized_vert;
  }
  XFree(data);
  if (horizontal && vertical && !(window_host.flags & SCREEN_FULLSCREEN)) {
    send(HostMessage{HM_SIZE, SIZE_KIND_MAXIMISED, 0});
  }
}

void client_message(const X11Connection& c, const XClientMessageEvent& event) {
  const X11Atoms& a = c.atoms;
  if (event.message_type == a.wm_protocols && static_cast<Atom>(event.data.l[0]) == a.wm_delete_window) {
    send(HostMessage{HM_CLOSE, 0, 0});
  } else if (event.message_type == a.set_cursor) {
    send(HostMessage{HM_SET_CURSOR, 0, 0});
  } else if (event.message_type == a.mouse_leave) {
    send(HostMessage{HM_MOUSE_LEAVE, 0, 0});
  } else if (event.message_type == a.mouse_enter) {
    send(HostMessage{HM_MOUSE_ENTER, 0, 0});
  }
}

bool crossing_counts(const XCrossingEvent& event) {
  return event.mode == NotifyNormal && event.detail != NotifyInferior;
}

bool focus_counts(const XFocusChangeEvent& event) {
  return (event.mode == NotifyNormal || event.mode == NotifyWhileGrabbed) && event.detail != NotifyInferior &&
         event.detail != NotifyPointer;
}

void dispatch(const X11Connection& c, X11Window& w, XEvent& event) {
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      key_event(&event.xkey, event.type == KeyPress);
      break;
    case MotionNotify:
      send(HostMessage{HM_MOUSE_MOVE, 0, picture_point(w, event.xmotion.x, event.xmotion.y)});
      break;
    case ButtonPress:
    case ButtonRelease:
      button_event(w, event.xbutton, event.type == ButtonPress);
      break;
    case EnterNotify:
      if (!crossing_counts(event.xcrossing)) break;
      send(HostMessage{HM_SET_CURSOR, 0, 0});
      send(HostMessage{HM_MOUSE_MOVE, 0, picture_point(w, event.xcrossing.x, event.xcrossing.y)});
      break;
    case LeaveNotify:
      if (!crossing_counts(event.xcrossing) || !input.leave_requested) break;
      input.leave_requested = false;
      send(HostMessage{HM_MOUSE_LEAVE, 0, 0});
      break;
    case FocusIn:
    case FocusOut:
      if (focus_counts(event.xfocus)) activate(event.type == FocusIn, false);
      break;
    case UnmapNotify:
      if (event.xunmap.window == w.frame) activate(false, true);
      break;
    case Expose:
      if (event.xexpose.window == w.view && event.xexpose.count == 0) send(HostMessage{HM_PAINT, 0, 0});
      break;
    case PropertyNotify:
      if (event.xproperty.atom == c.atoms.net_wm_state) window_state_changed(c, w);
      break;
    case ClientMessage:
      client_message(c, event.xclient);
      break;
    case ConfigureNotify:
      // A locker's window changed size: the driver places the picture again.
      if (event.xconfigure.window == w.target && w.target != None) {
        w.target_width = event.xconfigure.width;
        w.target_height = event.xconfigure.height;
      }
      break;
    case DestroyNotify:
      // Gone for good: ask the program to close, as the close button does.
      if (event.xdestroywindow.window == w.frame) {
        w.destroyed = true;
        send(HostMessage{HM_CLOSE, 0, 0});
      }
      break;
    default:
      break;
  }
}

void run_due_timers() {
  const uint32_t now = platform::tick_count();
  for (X11Timer& t : input.timers) {
    if (t.id == 0 || static_cast<int32_t>(now - t.due) < 0) continue;
    t.due = now + t.period_ms;
    send(HostMessage{HM_TIMER, t.id, 0});
  }
}

}  // namespace

X11InputState& x11_input() { return input; }

void pump_messages() {
  const X11Connection* c = x11_connection();
  if (!c) return;
  if (x11_connection_lost()) {
    // Nothing will ever arrive again: the window is as good as closed, and every wait
    // of the program for a key ends as it would on the close button.
    if (X11Window* w = x11_host_window()) w->destroyed = true;
    if (key_ring.read_index == key_ring.write_index) send(HostMessage{HM_CLOSE, 0, 0});
    return;
  }
  // The window is looked up again for each event: a switch re-creates it inside a dispatch.
  while (X11Window* w = x11_host_window()) {
    if (w->destroyed || !XPending(c->display)) break;
    XEvent event;
    XNextEvent(c->display, &event);
    if (event.xany.window != w->frame && event.xany.window != w->view &&
        (w->target == None || event.xany.window != w->target)) {
      continue;
    }
    dispatch(*c, *w, event);
  }
  if (x11_host_window()) run_due_timers();
}

void x11_prime_pointer() {
  const X11Connection* c = x11_connection();
  X11Window* w = x11_host_window();
  if (!c || !w) return;
  Window root, child;
  int rx = 0, ry = 0, x = 0, y = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(c->display, w->frame, &root, &child, &rx, &ry, &x, &y, &mask)) return;
  const int32_t fw = w->place.frame.right - w->place.frame.left;
  const int32_t fh = w->place.frame.bottom - w->place.frame.top;
  host_state.cursor_in_client = x >= 0 && y >= 0 && x < fw && y < fh;
  if (!host_state.cursor_in_client) return;
  int64_t point = picture_point(*w, x, y);
  host_state.mouse_x = static_cast<int32_t>(point & 0xFFFF);
  host_state.mouse_y = static_cast<int32_t>((point >> 16) & 0xFFFF);
  host_state.last_cursor_x = rx;
  host_state.last_cursor_y = ry;
}

}  // namespace zv
