#include "platform/posix/x11_open.h"

#include <cerrno>
#include <cstdlib>

#include "platform/platform.h"

namespace zv::platform {

Display* open_x_display() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return nullptr;
  constexpr int32_t TRIES = 40, PAUSE_MS = 50;
  for (int32_t attempt = 1;; ++attempt) {
    errno = 0;
    if (Display* display = XOpenDisplay(nullptr)) return display;
    if (errno != EAGAIN || attempt == TRIES) return nullptr;
    sleep_ms(PAUSE_MS);
  }
}

}  // namespace zv::platform
