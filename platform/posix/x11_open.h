// Connecting to the X server.
#pragma once

#include <X11/Xlib.h>

namespace zv::platform {

// XOpenDisplay(nullptr), tried again for up to two seconds while the server exists but
// refuses the connection for the moment (a busy server whose listen queue is full makes
// the connect fail with EAGAIN). Null when DISPLAY is unset or no server answers.
Display* open_x_display();

}  // namespace zv::platform
