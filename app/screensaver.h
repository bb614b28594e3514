// The animation: opens the graphics screen and runs until a key or the mouse.
#pragma once

namespace morv {

void run_screensaver();

}  // namespace morv
