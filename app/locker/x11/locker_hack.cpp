#include "app/locker/x11/locker_hack.h"

#include <cstdio>

#include "app/locker/locker_loop.h"
#include "display/driver.h"
#include "display/x11/x11_driver.h"
#include "display/x11/x11_target.h"
#include "gfx/core/screen.h"
#include "platform/platform.h"
#include "platform/posix/stop_signals.h"

namespace morv {

namespace {

// Only the X11 driver: a hack that cannot draw into its window must say so, not run
// on in memory.
const zv::DisplayDriver* const HACK_DRIVERS[] = {&zv::x11_driver, nullptr};

bool stop_requested() { return zv::platform::stop_signal() != 0; }

const char* display_name() {
  const char* name = zv::platform::get_env("DISPLAY");
  return name ? name : "(DISPLAY is not set)";
}

// The window to draw into; 0 for a window of our own. False when there is none to use.
bool choose_window(const LockerOptions& options, unsigned long* window) {
  *window = 0;
  if (options.target == LockerTarget::WINDOW_ID) {
    const zv::X11WindowCheck check = zv::x11_check_window(options.window);
    if (check == zv::X11WindowCheck::EXISTS) {
      *window = options.window;
      return true;
    }
    if (check == zv::X11WindowCheck::NO_DISPLAY) {
      std::fprintf(stderr, "morv-hack: cannot open display %s\n", display_name());
    } else {
      std::fprintf(stderr, "morv-hack: no window 0x%lx (%lu)%s on display %s\n", options.window, options.window,
                   options.from_environment ? " from $XSCREENSAVER_WINDOW" : "", display_name());
    }
    return false;
  }
  const unsigned long root = zv::x11_root_window();
  if (!root) {
    std::fprintf(stderr, "morv-hack: cannot open display %s\n", display_name());
    return false;
  }
  if (options.target == LockerTarget::ROOT) *window = root;
  return true;
}

}  // namespace

int run_locker_hack(const LockerOptions& options) {
  unsigned long window = 0;
  if (!choose_window(options, &window)) return 1;
  zv::platform::watch_stop_signals();
  zv::set_display_driver_list(HACK_DRIVERS);
  zv::x11_draw_into_window(window);
  zv::x11_open_in_window(window == 0);
  const LockerEnd end = run_locker_saver(stop_requested);
  zv::screen_exit_handler();
  zv::x11_draw_into_window(0);
  zv::x11_open_in_window(false);
  zv::set_display_driver_list(nullptr);
  if (end == LockerEnd::NO_SCREEN) {
    if (window) {
      std::fprintf(stderr, "morv-hack: cannot draw into window 0x%lx on display %s\n", window, display_name());
    } else {
      std::fprintf(stderr, "morv-hack: cannot open a window on display %s\n", display_name());
    }
    return 1;
  }
  if (end == LockerEnd::WINDOW_CLOSED && window) {
    std::fprintf(stderr, "morv-hack: window 0x%lx was destroyed; ending\n", window);
  }
  return 0;
}

}  // namespace morv
