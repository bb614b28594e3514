// The "GDI" display driver: device-independent bitmap transfer to a window (Windows only).
#pragma once

#include "display/driver.h"

namespace zv {

extern const DisplayDriver gdi_driver;

}  // namespace zv
