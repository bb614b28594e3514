// Black windows over the monitors beside the full-screen picture. They are
// override-redirect, so a window manager neither moves nor decorates them, and they
// select no input: keys and the pointer still reach the saver's window.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include "display/host/x11/x11_host.h"

namespace zv {

namespace {

// The server's active monitors (RandR), at most `max`; none without RandR.
int32_t list_monitors(const X11Connection& c, ScreenRect* out, int32_t max) {
  if (!c.has_randr) return 0;
  int count = 0;
  XRRMonitorInfo* monitors = XRRGetMonitors(c.display, c.root, True, &count);
  int32_t n = 0;
  for (int i = 0; i < count && n < max; ++i) {
    const XRRMonitorInfo& m = monitors[i];
    out[n++] = ScreenRect{m.x, m.y, m.x + m.width, m.y + m.height};
  }
  if (monitors) XRRFreeMonitors(monitors);
  return n;
}

}  // namespace

void x11_cover_other_monitors(const X11Connection& c, const ScreenRect& shown, X11Covers* covers) {
  *covers = X11Covers{};
  ScreenRect monitors[MAX_MONITOR_COVERS + 1];
  const int32_t count = list_monitors(c, monitors, MAX_MONITOR_COVERS + 1);
  ScreenRect rects[MAX_MONITOR_COVERS];
  const int32_t n = monitors_to_cover(monitors, count, shown, rects);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(c.display, c.screen);
  attributes.override_redirect = True;
  for (int32_t i = 0; i < n; ++i) {
    const ScreenRect& r = rects[i];
    Window w = XCreateWindow(c.display, c.root, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                             static_cast<unsigned>(r.bottom - r.top), 0, CopyFromParent, InputOutput, CopyFromParent,
                             CWBackPixel | CWOverrideRedirect, &attributes);
    if (!w) continue;
    XMapRaised(c.display, w);
    covers->windows[covers->count++] = w;
  }
  XFlush(c.display);
}

void x11_remove_covers(const X11Connection& c, X11Covers* covers) {
  for (int32_t i = 0; i < covers->count; ++i) XDestroyWindow(c.display, covers->windows[i]);
  if (covers->count) XSync(c.display, False);
  x11_take_error();
  *covers = X11Covers{};
}

}  // namespace zv
