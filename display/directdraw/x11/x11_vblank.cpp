#include "display/directdraw/x11/x11_vblank.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xpresent.h>

#include <atomic>

#include "platform/platform.h"
#include "platform/posix/x11_open.h"

namespace zv {

namespace {

struct VblankConnection {
  Display* display;
  bool tried;       // an open was tried: without Present there is no point in trying again
  int opcode;
  Window selected;  // the window whose Present events we receive
  XID event_context;
  uint32_t serial;
};

VblankConnection vblank;
std::atomic<int32_t> server_lost{0};

bool ready() {
  if (vblank.display) return true;
  if (vblank.tried) return false;
  vblank.tried = true;
  Display* d = platform::open_x_display(&server_lost);
  int event_base = 0, error_base = 0;
  if (!d) return false;
  if (!XPresentQueryExtension(d, &vblank.opcode, &event_base, &error_base)) {
    XCloseDisplay(d);
    return false;
  }
  vblank.display = d;
  return true;
}

// Reads events until our notification arrives or the time is up.
bool wait_for_notify(uint32_t serial, int32_t timeout_ms) {
  Display* d = vblank.display;
  const uint32_t start = platform::tick_count();
  for (;;) {
    while (XPending(d)) {
      XEvent event;
      XNextEvent(d, &event);
      XGenericEventCookie* cookie = &event.xcookie;
      if (cookie->type != GenericEvent || cookie->extension != vblank.opcode || !XGetEventData(d, cookie)) continue;
      bool ours = false;
      if (cookie->evtype == PresentCompleteNotify) {
        auto* complete = static_cast<XPresentCompleteNotifyEvent*>(cookie->data);
        ours = complete->kind == PresentCompleteKindNotifyMSC && complete->serial_number == serial;
      }
      XFreeEventData(d, cookie);
      if (ours) return true;
    }
    const int32_t left = timeout_ms - static_cast<int32_t>(platform::tick_count() - start);
    if (left <= 0 || !platform::wait_x_event(d, &server_lost, left)) return false;
  }
}

}  // namespace

bool x11_wait_vblank(uint32_t window, int32_t timeout_ms) {
  if (!window || !ready()) return false;
  Display* d = vblank.display;
  if (vblank.selected != window) {
    // The driver re-creates its window on every switch; the old selection went with it.
    vblank.event_context = XPresentSelectInput(d, window, PresentCompleteNotifyMask);
    vblank.selected = window;
  }
  const uint32_t serial = ++vblank.serial;
  // Target 0 with divisor 1: the next time the counter moves on.
  XPresentNotifyMSC(d, window, serial, 0, 1, 0);
  XFlush(d);
  return wait_for_notify(serial, timeout_ms);
}

void x11_vblank_close() {
  if (vblank.display) XCloseDisplay(vblank.display);
  vblank = VblankConnection{};
}

}  // namespace zv
