#include "platform/posix/x11_open.h"

#include <X11/Xlibint.h>
#include <poll.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/posix/terminal.h"

namespace zv::platform {

namespace {

// True when DISPLAY names a local server (":N" or ":N.S") whose socket exists, so a
// failed connection means a busy server rather than a missing one.
bool local_server_exists(const char* name) {
  if (name[0] != ':') return false;
  std::string number;
  for (const char* c = name + 1; *c >= '0' && *c <= '9'; ++c) number += *c;
  if (number.empty()) return false;
  struct stat info;
  return stat(("/tmp/.X11-unix/X" + number).c_str(), &info) == 0;
}

// Xlib's own handlers print a line and end the process with code 1. Returning from the
// I/O error handler hands over to the display's exit handler, which returning leaves the
// display marked dead instead of exiting.
int keep_running(Display*) { return 0; }

// Before the exit handler runs, Xlib takes the display's user lock for good (other
// threads would block on the display for ever) and releases its internal lock, which
// the interrupted call releases once more when the handler returns. Undoing both leaves
// the locks as the interrupted call expects them.
void mark_lost(Display* display, void* lost) {
  static_cast<std::atomic<int32_t>*>(lost)->store(1);
  XUnlockDisplay(display);
  LockDisplay(display);
}

}  // namespace

Display* open_x_display(std::atomic<int32_t>* lost) {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name || !lost) return nullptr;
  static bool handler_set = false;  // once: the window thread may be reading it later
  // A server that goes away between two requests must reach the I/O error handler, not
  // end the program with SIGPIPE on the next write to its socket.
  ignore_broken_pipe();
  if (!handler_set) XSetIOErrorHandler(keep_running);
  handler_set = true;
  constexpr int32_t TRIES = 40, PAUSE_MS = 50;
  for (int32_t attempt = 1;; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) {
      lost->store(0);
      XSetIOErrorExitHandler(display, mark_lost, lost);
      return display;
    }
    if (attempt == TRIES || !local_server_exists(name)) return nullptr;
    sleep_ms(PAUSE_MS);
  }
}

bool wait_x_event(Display* display, const std::atomic<int32_t>* lost, int32_t timeout_ms) {
  if (lost->load() || !display) return false;
  if (XPending(display)) return true;
  pollfd watched{ConnectionNumber(display), POLLIN, 0};
  poll(&watched, 1, timeout_ms);
  // XPending reads what arrived, and meets a closed connection as an I/O error.
  return !lost->load() && XPending(display) > 0;
}

}  // namespace zv::platform
