#include "platform/posix/x11_open.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"

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

}  // namespace

Display* open_x_display() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  constexpr int32_t TRIES = 40, PAUSE_MS = 50;
  for (int32_t attempt = 1;; ++attempt) {
    if (Display* display = XOpenDisplay(nullptr)) return display;
    if (attempt == TRIES || !local_server_exists(name)) return nullptr;
    sleep_ms(PAUSE_MS);
  }
}

}  // namespace zv::platform
