// The "OpenGL" display driver: a window with an OpenGL context for programs that draw
// with OpenGL themselves (WGL on Windows, GLX on Linux).
#pragma once

#include "display/driver.h"

namespace zv {

extern const DisplayDriver opengl_driver;

// The library the driver loads: the system's unless a test names another (null restores).
const char* opengl_library_name(const char* system_name);
void set_opengl_library_name(const char* name);

}  // namespace zv
