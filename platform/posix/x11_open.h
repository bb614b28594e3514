// Connecting to the X server.
#pragma once

#include <X11/Xlib.h>

namespace zv::platform {

// XOpenDisplay(nullptr), tried again for up to two seconds while a local server's socket
// exists but the connection fails (a busy server whose listen queue is full refuses
// connections for a moment). Null when DISPLAY is unset or no server answers.
Display* open_x_display();

}  // namespace zv::platform
