// The console mouse: position, buttons and wheel from the console's mouse events.
#include "input/console/console_mouse.h"

#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

struct ConsoleMouse {
  bool seen;      // a mouse event arrived, so there is a mouse
  bool enabled;   // mouse events were asked for
  int32_t x, y;   // buffer cells
  int32_t wheel;  // one step per wheel event
  int32_t buttons;
};

ConsoleMouse mouse;

// Left, right and middle are the console's first three button bits, as on the screen.
constexpr uint32_t BUTTON_BITS = 0x1F;

}  // namespace

void console_mouse_event(const ConsoleMouseEvent& event) {
  mouse.seen = true;
  mouse.x = event.x;
  mouse.y = event.y;
  if (event.event_flags & CONSOLE_MOUSE_WHEELED) {
    mouse.wheel += static_cast<int16_t>(event.button_state >> 16) > 0 ? 1 : -1;
    return;
  }
  mouse.buttons = static_cast<int32_t>(event.button_state & BUTTON_BITS);
}

void console_mouse_reset() { mouse = ConsoleMouse{}; }

int32_t console_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  if (!mouse.enabled) {
    mouse.enabled = true;
    if (console_input_is_console()) console_input().enable_mouse();
  }
  console_pump();
  int32_t values[5] = {-1, -1, -1, -1, -1};
  if (mouse.seen) {
    // Positions are 1-based in the visible window, like the cursor's.
    console_start();
    const ConsoleRect& window = console_state.geometry.window;
    values[0] = mouse.x - window.left + 1;
    values[1] = mouse.y - window.top + 1;
    values[2] = mouse.wheel;
    values[3] = mouse.buttons;
    values[4] = 0;
  }
  int32_t* const outputs[5] = {x, y, wheel, buttons, clip};
  for (int32_t i = 0; i < 5; ++i)
    if (outputs[i]) *outputs[i] = values[i];
  return set_error(mouse.seen ? ERR_NONE : ERR_ILLEGAL_CALL);
}

int32_t console_set_mouse(int32_t, int32_t, int32_t, int32_t) { return set_error(ERR_ILLEGAL_CALL); }

}  // namespace zv
