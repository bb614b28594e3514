// Display modes and refresh rate of the X server.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "display/mode_list.h"

namespace zv {

// The current refresh rate in Hz, 60 when the server does not say.
int32_t x11_refresh_rate(Display* display);
// The list_modes entry: modes as width << 16 | height; the caller frees the array.
uint32_t* x11_list_modes(int32_t depth, int32_t* count);
// The same for a driver whose rule for which pixel sizes serve a depth is its own.
uint32_t* x11_list_modes_by(int32_t depth, int32_t* count, ModeRule accepts);

}  // namespace zv
