// The Win32 side of the window host: the window system table, the window procedure
// registered with the class, and the window operations the drivers call.
#pragma once

#include <cstdint>

namespace zv {

struct WindowSystem;

// Built on first use; the optional user32 functions are looked up then, once.
const WindowSystem* win32_window_system();

// Creates the window of the host's class with its title; 0 or -1.
int32_t create_host_window(uint32_t style, uint32_t extended_style, int32_t x, int32_t y, int32_t width,
                           int32_t height);
// Dispatches every message waiting for the host's window.
void pump_messages();
// Looks up an optional user32 function by name (null when the system lacks it).
void* user32_function(const char* name);

}  // namespace zv
