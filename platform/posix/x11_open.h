// Connecting to the X server.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <cstdint>

namespace zv::platform {

// XOpenDisplay(nullptr), tried again for up to two seconds while a local server's socket
// exists but the connection fails (a busy server whose listen queue is full refuses
// connections for a moment). Null when DISPLAY is unset or no server answers.
//
// Losing the server does not end the process: *lost becomes 1 and every later Xlib call
// on the display does nothing. Xlib then has no events to give, so callers must not
// call XNextEvent unless XPending says an event is queued. *lost must outlive the display.
Display* open_x_display(std::atomic<int32_t>* lost);

// Waits up to timeout_ms for an event on the display; false on time-out or a lost server.
bool wait_x_event(Display* display, const std::atomic<int32_t>* lost, int32_t timeout_ms);

}  // namespace zv::platform
