// Stands in for the system's mouse-leave tracking when it has none: a 100 ms timer
// watches the cursor and posts the leave message once it is off the window.
#pragma once

#include <cstdint>

namespace zv {

constexpr uint32_t MOUSE_LEAVE_TIMER_ID = 2;
constexpr uint32_t MOUSE_LEAVE_TIMER_MS = 100;

// Starts the watch timer on the window.
bool emulate_track_mouse(void* window);
// One timer tick: keeps the timer while the cursor is over the window's client area.
void mouse_leave_tick(void* window);

}  // namespace zv
