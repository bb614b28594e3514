// Looks up the window a screen locker hands its saver, before any screen is opened.
#pragma once

namespace zv {

enum class X11WindowCheck {
  EXISTS,
  NO_DISPLAY,      // DISPLAY unset, or no server answers
  NO_SUCH_WINDOW,
};

// Asks the server named by DISPLAY, on a connection of its own, whether the window exists.
X11WindowCheck x11_check_window(unsigned long window);
// The root window of the display's default screen; 0 without a display.
unsigned long x11_root_window();

}  // namespace zv
