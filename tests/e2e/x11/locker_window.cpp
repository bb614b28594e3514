// locker_window: plays the part of a screen locker's window for the hack's tests.
//   create <x> <y> <width> <height>  makes a window filled with white, prints its id
//                                    (0x...) and keeps it until it is killed
//   destroy <id>                     destroys it, as a locker does when it is done
//   grab                             exit code 0 when the keyboard and the pointer can
//                                    be grabbed, that is when no client holds a grab
#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

Display* connect() {
  // A busy server may refuse a connection for a moment.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 40 && !(display = XOpenDisplay(nullptr)); ++attempt) usleep(50000);
  return display;
}

int create(Display* d, char** argv) {
  const int x = std::atoi(argv[0]), y = std::atoi(argv[1]);
  const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
  if (width <= 0 || height <= 0) return 1;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = WhitePixel(d, DefaultScreen(d));
  attributes.override_redirect = True;
  Window w = XCreateWindow(d, DefaultRootWindow(d), x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                           0, CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect,
                           &attributes);
  XMapRaised(d, w);
  XSync(d, False);
  std::printf("0x%lx\n", w);
  std::fflush(stdout);
  // The window lives as long as this connection; a signal ends both.
  for (;;) pause();
}

int destroy(Display* d, const char* id) {
  Window w = static_cast<Window>(std::strtoul(id, nullptr, 0));
  if (!w) return 1;
  XDestroyWindow(d, w);
  XSync(d, False);
  return 0;
}

int grab(Display* d) {
  Window root = DefaultRootWindow(d);
  int keyboard = XGrabKeyboard(d, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  int pointer = XGrabPointer(d, root, False, ButtonPressMask, GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  XUngrabKeyboard(d, CurrentTime);
  XUngrabPointer(d, CurrentTime);
  XSync(d, False);
  if (keyboard != GrabSuccess) std::printf("the keyboard is grabbed\n");
  if (pointer != GrabSuccess) std::printf("the pointer is grabbed\n");
  return keyboard == GrabSuccess && pointer == GrabSuccess ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Display* d = argc >= 2 ? connect() : nullptr;
  if (!d) {
    std::fprintf(stderr, "usage: locker_window create X Y W H | destroy ID | grab  (with a display)\n");
    return 2;
  }
  int code = 2;
  if (std::strcmp(argv[1], "create") == 0 && argc == 6) code = create(d, argv + 2);
  else if (std::strcmp(argv[1], "destroy") == 0 && argc == 3) code = destroy(d, argv[2]);
  else if (std::strcmp(argv[1], "grab") == 0 && argc == 2) code = grab(d);
  XCloseDisplay(d);
  return code;
}
