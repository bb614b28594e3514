// The Win32 side of the window host: the window system table, the window procedure
// registered with the class, and the window operations the drivers call.
#pragma once

#include <cstdint>

namespace zv {

struct WindowSystem;
struct DisplayModeEntry;

// Built on first use; the optional user32 functions are looked up then, once.
const WindowSystem* win32_window_system();

// Creates the window of the host's class with its title; 0 or -1.
int32_t create_host_window(uint32_t style, uint32_t extended_style, int32_t x, int32_t y, int32_t width,
                           int32_t height);
// Dispatches every message waiting for the host's window.
void pump_messages();
// In full screen: black windows over every monitor but the one the window is on,
// messages for them, and their removal. The window thread calls all three.
void cover_other_monitors(void* window);
void pump_cover_messages();
void remove_monitor_covers();
// The display mode at `index` of the system's list; false past its end.
bool win32_display_mode(int32_t index, DisplayModeEntry* mode);
// Switches the display to width x height x depth for full screen (the refresh rate is
// filled in, not applied); false when the system refuses. The restore goes back to the
// desktop's mode.
bool win32_enter_display_mode(int32_t width, int32_t height, int32_t depth, int32_t refresh_rate);
void win32_restore_display_mode();
// Looks up an optional user32 function by name (null when the system lacks it).
void* user32_function(const char* name);

}  // namespace zv
