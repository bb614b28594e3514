// close_window <window id>: asks a window to close the way a window manager's close
// button does, with a WM_DELETE_WINDOW message. Exit code 1 when that cannot be sent.
#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: close_window <window id>\n");
    return 1;
  }
  Window window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
  // A busy server may refuse a connection for a moment.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 40 && !(display = XOpenDisplay(nullptr)); ++attempt) usleep(50000);
  if (!display || window == 0) return 1;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent ? 0 : 1;
}
