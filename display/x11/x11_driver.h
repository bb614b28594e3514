// The "X11" display driver: the band of changed rows sent to a window every 10 ms (Linux).
#pragma once

#include "display/driver.h"

namespace zv {

extern const DisplayDriver x11_driver;

}  // namespace zv
