// VIEW: the screen's clipping rectangle, with an optional frame and clear.
#pragma once

#include <cstdint>

namespace zv {

// A corner that was not given; all four not given is the reset form.
constexpr int32_t VIEW_NOT_GIVEN = -32768;
// Flags
constexpr int32_t VIEW_SCREEN = 1;               // coordinates stay absolute inside the view
constexpr int32_t VIEW_NO_BORDER = 0x40000000;
constexpr int32_t VIEW_NO_FILL = INT32_MIN;

// Corners in screen pixels, inclusive. The reset form gives back the whole screen.
void view_set(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t fill_colour, uint32_t border_colour,
              int32_t flags);

}  // namespace zv
