// The display connection of an open screen: atoms, the error handler, monitors.
#include <X11/XKBlib.h>
#include <X11/extensions/Xrandr.h>

#include <atomic>

#include "display/host/x11/x11_host.h"
#include "platform/posix/x11_open.h"

namespace zv {

namespace {

X11Connection connection;
XErrorHandler previous_handler;
std::atomic<int32_t> last_error{0};
std::atomic<int32_t> server_lost{0};  // set by whichever thread meets the broken connection

// The default handler ends the process; a vanished window must not end the program.
int record_error(Display*, XErrorEvent* error) {
  last_error.store(error->error_code);
  return 0;
}

Atom atom(const char* name) { return XInternAtom(connection.display, name, False); }

void intern_atoms() {
  X11Atoms& a = connection.atoms;
  a.wm_protocols = atom("WM_PROTOCOLS");
  a.wm_delete_window = atom("WM_DELETE_WINDOW");
  a.net_wm_name = atom("_NET_WM_NAME");
  a.net_wm_state = atom("_NET_WM_STATE");
  a.net_wm_state_fullscreen = atom("_NET_WM_STATE_FULLSCREEN");
  a.net_wm_state_above = atom("_NET_WM_STATE_ABOVE");
  a.net_wm_state_maximized_horz = atom("_NET_WM_STATE_MAXIMIZED_HORZ");
  a.net_wm_state_maximized_vert = atom("_NET_WM_STATE_MAXIMIZED_VERT");
  a.net_wm_state_hidden = atom("_NET_WM_STATE_HIDDEN");
  a.motif_wm_hints = atom("_MOTIF_WM_HINTS");
  a.utf8_string = atom("UTF8_STRING");
  a.set_cursor = atom("ZV_SET_CURSOR");
  a.mouse_leave = atom("ZV_MOUSE_LEAVE");
  a.mouse_enter = atom("ZV WM_MOUSEENTER emulation");
}

}  // namespace

bool x11_connect() {
  if (connection.display) return true;
  // The window thread and the program's thread both talk to the server.
  XInitThreads();
  Display* display = platform::open_x_display(&server_lost);
  if (!display) return false;
  connection = X11Connection{};
  connection.display = display;
  connection.screen = DefaultScreen(display);
  connection.root = RootWindow(display, connection.screen);
  connection.visual = DefaultVisual(display, connection.screen);
  connection.depth = DefaultDepth(display, connection.screen);
  previous_handler = XSetErrorHandler(record_error);
  intern_atoms();
  // Held keys then repeat as presses alone, without a release before each.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(display, True, &supported);
  int error_base = 0;
  connection.has_randr = XRRQueryExtension(display, &connection.randr_event_base, &error_base) != 0;
  return true;
}

void x11_disconnect() {
  if (!connection.display) return;
  XCloseDisplay(connection.display);
  XSetErrorHandler(previous_handler);
  connection = X11Connection{};
}

const X11Connection* x11_connection() { return connection.display ? &connection : nullptr; }

int32_t x11_take_error() { return last_error.exchange(0); }

bool x11_connection_lost() { return connection.display && server_lost.load(); }

ScreenRect x11_screen_rect() {
  Display* d = connection.display;
  return ScreenRect{0, 0, DisplayWidth(d, connection.screen), DisplayHeight(d, connection.screen)};
}

ScreenRect x11_monitor_under_pointer() {
  ScreenRect screen = x11_screen_rect();
  Display* d = connection.display;
  Window root_return, child;
  int x = 0, y = 0, wx = 0, wy = 0;
  unsigned int mask = 0;
  if (!connection.has_randr || !XQueryPointer(d, connection.root, &root_return, &child, &x, &y, &wx, &wy, &mask)) {
    return screen;
  }
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(d, connection.root, True, &count);
  ScreenRect found = screen;
  for (int i = 0; i < count; ++i) {
    ScreenRect r{monitors[i].x, monitors[i].y, monitors[i].x + monitors[i].width, monitors[i].y + monitors[i].height};
    if (rect_contains(r, x, y)) {
      found = r;
      break;
    }
  }
  if (monitors) XRRFreeMonitors(monitors);
  return found;
}

}  // namespace zv
