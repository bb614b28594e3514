// The window host's window-system table over Xlib.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/x11/x11_host.h"
#include "platform/platform.h"

namespace zv {

namespace {

// Acts like a current Windows: wheel, horizontal wheel and extra buttons all exist.
constexpr int32_t REPORTED_OS_VERSION = 0x0A00;
constexpr long POINTER_EVENTS = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                LeaveWindowMask;

// The screen saver's timeout as it was before we switched it off.
struct SavedScreenSaver {
  bool saved;
  int timeout, interval, prefer_blanking, allow_exposures;
} saved_saver;

Display* display() {
  const X11Connection* c = x11_connection();
  return c ? c->display : nullptr;
}

X11Window* live_window(void* window) {
  X11Window* w = static_cast<X11Window*>(window);
  return w && !w->destroyed && display() ? w : nullptr;
}

int32_t os_version() { return REPORTED_OS_VERSION; }

uint32_t register_mouse_enter_message() {
  const X11Connection* c = x11_connection();
  return c ? static_cast<uint32_t>(c->atoms.mouse_enter) : 0;
}

// Inside a screen locker's window the server's screen saver is the locker's business.
int32_t screensaver_active() {
  Display* d = display();
  if (!d || x11_target_window() != None) return 0;
  int timeout = 0, interval = 0, blanking = 0, exposures = 0;
  XGetScreenSaver(d, &timeout, &interval, &blanking, &exposures);
  return timeout != 0 ? 1 : 0;
}

// Off keeps the server's other settings and remembers the timeout; on brings it back
// (or the server's default when it was never seen on).
void set_screensaver_active(int32_t active) {
  Display* d = display();
  if (!d || x11_target_window() != None) return;
  int timeout = 0, interval = 0, blanking = 0, exposures = 0;
  XGetScreenSaver(d, &timeout, &interval, &blanking, &exposures);
  if (!active) {
    if (timeout != 0) saved_saver = SavedScreenSaver{true, timeout, interval, blanking, exposures};
    XSetScreenSaver(d, 0, interval, blanking, exposures);
  } else if (saved_saver.saved) {
    XSetScreenSaver(d, saved_saver.timeout, saved_saver.interval, saved_saver.prefer_blanking,
                    saved_saver.allow_exposures);
  } else {
    XSetScreenSaver(d, -1, interval, blanking, exposures);
  }
  XFlush(d);
}

// X has no window classes: the class name goes to the window's WM_CLASS instead.
void register_class(WindowHost* host) {
  host->instance = nullptr;
  host->window_class.window_procedure = reinterpret_cast<void*>(&handle_window_message);
  host->window_class.instance = nullptr;
  host->window_class.icon = nullptr;
  host->window_class.cursor = nullptr;
}

void unregister_class(WindowHost*) {}

// X reports every leave; the pump passes one on only after this request, as Windows does.
bool track_mouse_leave(void*) {
  x11_input().leave_requested = true;
  return true;
}

bool get_cursor_pos(int32_t* x, int32_t* y) {
  const X11Connection* c = x11_connection();
  if (!c) return false;
  Window root, child;
  int rx = 0, ry = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(c->display, c->root, &root, &child, &rx, &ry, &wx, &wy, &mask)) return false;
  *x = rx;
  *y = ry;
  return true;
}

bool frame_origin(X11Window* w, int32_t* x, int32_t* y) {
  const X11Connection* c = x11_connection();
  Window child;
  int fx = 0, fy = 0;
  if (!XTranslateCoordinates(c->display, w->frame, c->root, 0, 0, &fx, &fy, &child)) return false;
  *x = fx;
  *y = fy;
  return true;
}

// A picture position as a point on the screen: the middle of its scaled pixel.
void picture_to_screen(X11Window* w, int32_t* x, int32_t* y) {
  int32_t fx = 0, fy = 0;
  frame_origin(w, &fx, &fy);
  const int32_t k = w->place.scale;
  *x = fx + w->place.view_x + *x * k + k / 2;
  *y = fy + w->place.view_y + *y * k + k / 2;
}

// In full screen the picture stands for the screen, so positions are the picture's.
void set_cursor_pos(int32_t x, int32_t y) {
  const X11Connection* c = x11_connection();
  if (!c) return;
  X11Window* w = live_window(window_host.window);
  if (w && (window_host.flags & SCREEN_FULLSCREEN)) picture_to_screen(w, &x, &y);
  XWarpPointer(c->display, None, c->root, 0, 0, 0, 0, x, y);
  XFlush(c->display);
}

void set_cursor_shape(bool visible) {
  X11Window* w = live_window(window_host.window);
  if (!w) return;
  XDefineCursor(display(), w->frame, visible ? w->arrow_cursor : w->blank_cursor);
  XFlush(display());
}

void send_to_self(X11Window* w, Atom message) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = w->frame;
  event.xclient.message_type = message;
  event.xclient.format = 32;
  XSendEvent(display(), w->frame, False, NoEventMask, &event);
  XFlush(display());
}

void post_set_cursor(void* window) {
  if (X11Window* w = live_window(window)) send_to_self(w, x11_connection()->atoms.set_cursor);
}

void post_mouse_leave(void* window) {
  if (X11Window* w = live_window(window)) send_to_self(w, x11_connection()->atoms.mouse_leave);
}

// The pointer stays inside the frame while grabbed; events keep coming as before.
void clip_cursor(const ScreenRect* rect) {
  Display* d = display();
  if (!d) return;
  X11Window* w = live_window(window_host.window);
  if (rect && w) {
    XGrabPointer(d, w->frame, True, POINTER_EVENTS, GrabModeAsync, GrabModeAsync, w->frame, None, CurrentTime);
  } else {
    XUngrabPointer(d, CurrentTime);
  }
  XFlush(d);
}

// The client area is the whole frame: in full screen the picture's margins count as the
// picture's edges, as a screen of the picture's size would.
bool client_rect_on_screen(void* window, ScreenRect* rect) {
  X11Window* w = live_window(window);
  int32_t x = 0, y = 0;
  if (!w || !frame_origin(w, &x, &y)) return false;
  *rect = ScreenRect{x, y, x + w->place.frame.right - w->place.frame.left, y + w->place.frame.bottom - w->place.frame.top};
  return true;
}

void client_to_screen(void* window, int32_t* x, int32_t* y) {
  if (X11Window* w = live_window(window)) picture_to_screen(w, x, y);
}

bool window_rect(void* window, ScreenRect* rect) { return client_rect_on_screen(window, rect); }

void set_window_text(void*, const char* text) { x11_set_window_title(text); }

void move_window(void* window, int32_t x, int32_t y) {
  if (X11Window* w = live_window(window)) {
    XMoveWindow(display(), w->frame, x, y);
    XFlush(display());
  }
}

void* window_from_point(int32_t x, int32_t y) {
  ScreenRect rect;
  void* window = window_host.window;
  return window && client_rect_on_screen(window, &rect) && rect_contains(rect, x, y) ? window : nullptr;
}

// The server grabs the pointer for the window while a button is down.
void capture_mouse(void*) { x11_input().captured = true; }
void release_capture() { x11_input().captured = false; }
bool has_capture(void*) { return x11_input().captured; }

void set_timer(void*, uint32_t id, uint32_t period_ms) {
  X11Timer* free_slot = nullptr;
  for (X11Timer& t : x11_input().timers) {
    if (t.id == id) free_slot = &t;
    if (!free_slot && t.id == 0) free_slot = &t;
  }
  if (free_slot) *free_slot = X11Timer{id, period_ms, platform::tick_count() + period_ms};
}

void kill_timer(void*, uint32_t id) {
  for (X11Timer& t : x11_input().timers) {
    if (t.id == id) t = X11Timer{};
  }
}

void keyboard_state(uint8_t state[256]) { std::memcpy(state, x11_input().keyboard.vk, 256); }

int32_t vk_to_char(uint32_t virtual_key) {
  if (x11_input().dead_key) return -1;
  return static_cast<int32_t>(platform::virtual_key_char(virtual_key));
}

// The character was worked out from the key's keysym when its event arrived.
int32_t to_ascii(uint32_t, uint32_t, const uint8_t*, uint8_t out[2]) {
  out[0] = x11_input().typed;
  out[1] = 0;
  return out[0] ? 1 : 0;
}

void begin_paint(void*) {}
void end_paint(void*) {}

WindowSystem make_table() {
  WindowSystem s{};
  s.os_version = os_version;
  s.monitor_from_cursor = nullptr;
  s.monitor_from_window = nullptr;
  s.register_mouse_enter_message = register_mouse_enter_message;
  s.screensaver_active = screensaver_active;
  s.set_screensaver_active = set_screensaver_active;
  s.register_class = register_class;
  s.unregister_class = unregister_class;
  s.track_mouse_leave = track_mouse_leave;
  s.get_cursor_pos = get_cursor_pos;
  s.set_cursor_pos = set_cursor_pos;
  s.set_cursor_shape = set_cursor_shape;
  s.post_set_cursor = post_set_cursor;
  s.clip_cursor = clip_cursor;
  s.client_rect_on_screen = client_rect_on_screen;
  s.client_to_screen = client_to_screen;
  s.window_rect = window_rect;
  s.set_window_text = set_window_text;
  s.move_window = move_window;
  s.window_from_point = window_from_point;
  s.capture_mouse = capture_mouse;
  s.release_capture = release_capture;
  s.has_capture = has_capture;
  s.set_timer = set_timer;
  s.kill_timer = kill_timer;
  s.post_mouse_leave = post_mouse_leave;
  s.keyboard_state = keyboard_state;
  s.vk_to_char = vk_to_char;
  s.to_ascii = to_ascii;
  s.begin_paint = begin_paint;
  s.end_paint = end_paint;
  return s;
}

}  // namespace

const WindowSystem* x11_window_system() {
  static const WindowSystem table = make_table();
  return &table;
}

}  // namespace zv
