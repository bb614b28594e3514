#include "gfx/core/graphics_state.h"

namespace zv {

GraphicsState* current_screen = nullptr;
uint32_t* blit_conversion_table = nullptr;

GraphicsState* graphics_state() { return current_screen; }

}  // namespace zv
