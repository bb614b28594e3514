// The "DirectX" display driver: DirectDraw and DirectInput on Windows, an exclusive
// full-screen counterpart over RandR on X.
#pragma once

#include "display/driver.h"

namespace zv {

extern const DisplayDriver ddraw_driver;

}  // namespace zv
