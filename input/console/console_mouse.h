// The console mouse as the input events report it.
#pragma once

#include "input/console/console_input.h"

namespace zv {

void console_mouse_event(const ConsoleMouseEvent& event);
void console_mouse_reset();

}  // namespace zv
