// The "X11" display driver: the band of changed rows sent to a window every 10 ms (Linux).
#pragma once

#include "display/driver.h"

namespace zv {

extern const DisplayDriver x11_driver;

// Where the next screens go. By default a window of their own, full screen when asked.
// A screen locker's saver draws into the locker's window instead (or the root window):
// the picture centred and scaled to it, following its size, ending with a close when it
// is destroyed. 0 returns to windows of our own.
void x11_draw_into_window(unsigned long window);
// The next screens open as a plain window even when full screen is asked for.
void x11_open_in_window(bool windowed);

}  // namespace zv
