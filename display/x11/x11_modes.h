// Display modes and refresh rate of the X server.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace zv {

// The current refresh rate in Hz, 60 when the server does not say.
int32_t x11_refresh_rate(Display* display);
// The list_modes entry: modes as width << 16 | height; the caller frees the array.
uint32_t* x11_list_modes(int32_t depth, int32_t* count);

}  // namespace zv
