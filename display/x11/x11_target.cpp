#include "display/x11/x11_target.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>

#include "platform/posix/x11_open.h"

namespace zv {

namespace {

bool bad_window = false;

int note_error(Display*, XErrorEvent*) {
  bad_window = true;
  return 0;
}

}  // namespace

// Runs before any screen, so no other thread talks to X while the handler is ours.
X11WindowCheck x11_check_window(unsigned long window) {
  std::atomic<int32_t> lost{0};
  Display* d = platform::open_x_display(&lost);
  if (!d) return X11WindowCheck::NO_DISPLAY;
  bad_window = false;
  XErrorHandler previous = XSetErrorHandler(note_error);
  XWindowAttributes attributes{};
  const Status status = window ? XGetWindowAttributes(d, static_cast<Window>(window), &attributes) : 0;
  XSync(d, False);
  XSetErrorHandler(previous);
  XCloseDisplay(d);
  return status && !bad_window ? X11WindowCheck::EXISTS : X11WindowCheck::NO_SUCH_WINDOW;
}

unsigned long x11_root_window() {
  std::atomic<int32_t> lost{0};
  Display* d = platform::open_x_display(&lost);
  if (!d) return 0;
  const Window root = DefaultRootWindow(d);
  XCloseDisplay(d);
  return root;
}

}  // namespace zv
