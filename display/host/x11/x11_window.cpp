// The host's window on X: a frame with the window manager hints for the host's flags,
// the view inside it, the cursors, and the wait until it is shown and focused.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstring>

#include "display/host/window_host.h"
#include "display/host/x11/x11_host.h"
#include "platform/message_box_rules.h"
#include "platform/platform.h"

namespace zv {

namespace {

X11Window host_window;
Window target_window = None;

constexpr long FRAME_EVENTS = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                              PointerMotionMask | EnterWindowMask | LeaveWindowMask | FocusChangeMask |
                              StructureNotifyMask | PropertyChangeMask;
constexpr int32_t MAP_WAIT_MS = 2000;

// The hints a window manager reads for decorations (the Motif layout all of them know).
struct MotifHints {
  unsigned long flags;
  unsigned long functions;
  unsigned long decorations;
  long input_mode;
  unsigned long status;
};
constexpr unsigned long MOTIF_HINTS_DECORATIONS = 2;

Cursor make_blank_cursor(Display* d, Window w) {
  static const char empty[8] = {};
  Pixmap bitmap = XCreateBitmapFromData(d, w, empty, 8, 8);
  XColor black{};
  Cursor cursor = XCreatePixmapCursor(d, bitmap, bitmap, &black, &black, 0, 0);
  XFreePixmap(d, bitmap);
  return cursor;
}

void set_hints(const X11Connection& c, Window frame, const X11Placement& place) {
  Display* d = c.display;
  const int32_t flags = window_host.flags;
  const int32_t w = place.frame.right - place.frame.left;
  const int32_t h = place.frame.bottom - place.frame.top;
  XSizeHints size{};
  size.flags = PPosition | PSize | USPosition | PMinSize | PMaxSize;
  size.x = place.frame.left;
  size.y = place.frame.top;
  size.width = size.min_width = size.max_width = w;
  size.height = size.min_height = size.max_height = h;
  // A window whose maximise must switch to full screen may grow; the switch then rebuilds it.
  if (!(flags & SCREEN_FULLSCREEN) && !(flags & SCREEN_NO_SWITCH)) size.flags &= ~PMaxSize;
  XSetWMNormalHints(d, frame, &size);

  XClassHint class_hint{window_host.class_name, window_host.class_name};
  XSetClassHint(d, frame, &class_hint);
  Atom protocols[] = {c.atoms.wm_delete_window};
  XSetWMProtocols(d, frame, protocols, 1);

  // A restyled window must lose what its former style asked for.
  if ((flags & SCREEN_FULLSCREEN) || (flags & SCREEN_NO_FRAME)) {
    MotifHints hints{MOTIF_HINTS_DECORATIONS, 0, 0, 0, 0};
    XChangeProperty(d, frame, c.atoms.motif_wm_hints, c.atoms.motif_wm_hints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
  } else {
    XDeleteProperty(d, frame, c.atoms.motif_wm_hints);
  }
  Atom states[2];
  int count = 0;
  if (flags & SCREEN_FULLSCREEN) states[count++] = c.atoms.net_wm_state_fullscreen;
  if (flags & SCREEN_ALWAYS_ON_TOP) states[count++] = c.atoms.net_wm_state_above;
  if (count) {
    XChangeProperty(d, frame, c.atoms.net_wm_state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(states), count);
  } else {
    XDeleteProperty(d, frame, c.atoms.net_wm_state);
  }
}

void set_title(const X11Connection& c, Window frame, const char* title) {
  XStoreName(c.display, frame, title);
  std::string utf8 = platform::cp1252_to_utf8(title);
  XChangeProperty(c.display, frame, c.atoms.net_wm_name, c.atoms.utf8_string, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

// Waits until the frame is shown, then gives it the keyboard (as bringing a window to
// the foreground does); without a window manager nobody else would.
void show_and_focus(Display* d, Window frame) {
  XMapRaised(d, frame);
  XFlush(d);
  XEvent event;
  for (int32_t waited = 0; waited < MAP_WAIT_MS; waited += 5) {
    if (XCheckTypedWindowEvent(d, frame, MapNotify, &event)) break;
    platform::sleep_ms(5);
  }
  XSetInputFocus(d, frame, RevertToPointerRoot, CurrentTime);
  XSync(d, False);
  x11_take_error();  // a window manager may refuse the focus; that is its call
}

// Inside the target the frame only needs to hear of its own end; input stays with the
// target's owner, which the frame must not take by selecting it.
int32_t create_in_target(const X11Connection& c, const X11Placement& place) {
  Display* d = c.display;
  XSelectInput(d, target_window, StructureNotifyMask);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(d, c.screen);
  attributes.event_mask = StructureNotifyMask;
  // Drawing on the root window, a window manager must not take the frame for a new
  // top-level window to decorate.
  attributes.override_redirect = True;
  host_window.target = target_window;
  host_window.target_width = place.frame.right;
  host_window.target_height = place.frame.bottom;
  host_window.frame = XCreateWindow(d, target_window, 0, 0, static_cast<unsigned>(place.frame.right),
                                    static_cast<unsigned>(place.frame.bottom), 0, CopyFromParent, InputOutput,
                                    CopyFromParent, CWBackPixel | CWEventMask | CWOverrideRedirect, &attributes);
  XSync(d, False);
  return x11_take_error() == 0 ? 0 : -1;
}

}  // namespace

void x11_set_target_window(Window target) { target_window = target; }
Window x11_target_window() { return target_window; }

bool x11_target_size(int32_t* width, int32_t* height) {
  const X11Connection* c = x11_connection();
  if (!c || target_window == None) return false;
  XWindowAttributes attributes{};
  const Status status = XGetWindowAttributes(c->display, target_window, &attributes);
  x11_take_error();
  if (!status) return false;
  *width = attributes.width;
  *height = attributes.height;
  return true;
}

bool x11_target_resized() {
  const X11Window* w = x11_host_window();
  return w && w->target != None && !w->destroyed &&
         (w->target_width != w->place.frame.right - w->place.frame.left ||
          w->target_height != w->place.frame.bottom - w->place.frame.top);
}

X11Window* x11_host_window() { return window_host.window ? &host_window : nullptr; }

int32_t create_host_window(const X11Placement& place, int32_t width, int32_t height,
                           const X11ViewVisual* view_visual) {
  const X11Connection* c = x11_connection();
  if (!c) return -1;
  Display* d = c->display;
  host_window = X11Window{};
  host_window.place = place;
  host_window.width = width;
  host_window.height = height;
  const unsigned long black = BlackPixel(d, c->screen);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = black;
  attributes.event_mask = FRAME_EVENTS;
  const int32_t fw = place.frame.right - place.frame.left;
  const int32_t fh = place.frame.bottom - place.frame.top;
  if (target_window != None) {
    if (create_in_target(*c, place) != 0) return -1;
  } else {
    host_window.frame = XCreateWindow(d, c->root, place.frame.left, place.frame.top, static_cast<unsigned>(fw),
                                      static_cast<unsigned>(fh), 0, CopyFromParent, InputOutput, CopyFromParent,
                                      CWBackPixel | CWEventMask, &attributes);
  }
  if (!host_window.frame) return -1;
  // The view paints itself (no background), so exposing it does not flash black.
  XSetWindowAttributes view_attributes{};
  view_attributes.event_mask = ExposureMask;
  view_attributes.background_pixmap = None;
  unsigned long view_mask = CWBackPixmap | CWEventMask;
  int view_depth = CopyFromParent;
  Visual* visual = CopyFromParent;
  if (view_visual) {
    // A visual unlike the parent's needs a colormap and a border of its own.
    host_window.view_colormap = XCreateColormap(d, c->root, view_visual->visual, AllocNone);
    view_attributes.colormap = host_window.view_colormap;
    view_attributes.border_pixel = 0;
    view_mask |= CWColormap | CWBorderPixel;
    view_depth = view_visual->depth;
    visual = view_visual->visual;
  }
  host_window.view = XCreateWindow(d, host_window.frame, place.view_x, place.view_y,
                                   static_cast<unsigned>(place.view_width), static_cast<unsigned>(place.view_height),
                                   0, view_depth, InputOutput, visual, view_mask, &view_attributes);
  host_window.blank_cursor = make_blank_cursor(d, host_window.frame);
  host_window.arrow_cursor = XCreateFontCursor(d, 68);  // XC_left_ptr
  XDefineCursor(d, host_window.frame, host_window.arrow_cursor);
  XMapWindow(d, host_window.view);
  window_host.window = &host_window;
  if (target_window != None) {
    XMapWindow(d, host_window.frame);
    XSync(d, False);
    return 0;
  }
  set_hints(*c, host_window.frame, place);
  set_title(*c, host_window.frame, window_host.title);
  if (window_host.flags & SCREEN_FULLSCREEN) x11_cover_other_monitors(*c, place.frame, &host_window.covers);
  show_and_focus(d, host_window.frame);
  return 0;
}

void destroy_host_window() {
  const X11Connection* c = x11_connection();
  if (!c || !window_host.window) return;
  Display* d = c->display;
  if (!host_window.destroyed) XDestroyWindow(d, host_window.frame);
  x11_remove_covers(*c, &host_window.covers);
  XFreeCursor(d, host_window.blank_cursor);
  XFreeCursor(d, host_window.arrow_cursor);
  if (host_window.view_colormap) XFreeColormap(d, host_window.view_colormap);
  XSync(d, False);
  x11_take_error();
  window_host.window = nullptr;
  host_window = X11Window{};
}

void x11_hide_host_window() {
  const X11Connection* c = x11_connection();
  if (!c || !window_host.window || host_window.destroyed) return;
  XWithdrawWindow(c->display, host_window.frame, c->screen);
  XSync(c->display, False);
  x11_take_error();
}

int32_t x11_restyle_host_window(const X11Placement& place) {
  const X11Connection* c = x11_connection();
  if (!c || !window_host.window || host_window.destroyed) return -1;
  Display* d = c->display;
  host_window.place = place;
  set_hints(*c, host_window.frame, place);
  XMoveResizeWindow(d, host_window.frame, place.frame.left, place.frame.top,
                    static_cast<unsigned>(place.frame.right - place.frame.left),
                    static_cast<unsigned>(place.frame.bottom - place.frame.top));
  XMoveResizeWindow(d, host_window.view, place.view_x, place.view_y, static_cast<unsigned>(place.view_width),
                    static_cast<unsigned>(place.view_height));
  show_and_focus(d, host_window.frame);
  return 0;
}

void x11_set_window_title(const char* title) {
  const X11Connection* c = x11_connection();
  if (c && window_host.window && !host_window.destroyed && host_window.target == None) {
    set_title(*c, host_window.frame, title);
    XFlush(c->display);
  }
}

}  // namespace zv
