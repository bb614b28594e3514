// Mouse queries of the graphics screen, passed on to the display driver.
#include "display/driver.h"
#include "input/auto_lock_scope.h"
#include "input/input_hooks.h"
#include "runtime/runtime.h"

namespace zv {

int32_t gfx_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  // Drivers always get five places to write to.
  int32_t values[5] = {-1, -1, -1, -1, -1};
  int32_t* const outputs[5] = {x, y, wheel, buttons, clip};
  int32_t result = 1;
  GraphicsState* screen = graphics_state();
  if (screen && screen->driver && screen->driver->query_mouse) {
    AutoLockScope lock(screen);
    if (screen->driver->query_mouse(&values[0], &values[1], &values[2], &values[3], &values[4]) == 0) result = 0;
  }
  for (int32_t i = 0; i < 5; ++i) {
    if (outputs[i]) *outputs[i] = result == 0 ? values[i] : -1;
  }
  return set_error(result);
}

int32_t gfx_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip) {
  GraphicsState* screen = graphics_state();
  if (!screen || !screen->driver || !screen->driver->place_mouse) return set_error(1);
  AutoLockScope lock(screen);
  screen->driver->place_mouse(x, y, visibility, clip);
  return set_error(0);
}

}  // namespace zv
