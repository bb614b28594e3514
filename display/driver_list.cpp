// The display drivers of each platform, in order of preference.
#include "display/driver.h"

#include "platform/platform.h"

#include "display/directdraw/ddraw_driver.h"
#include "display/opengl/opengl_driver.h"
#ifdef _WIN32
#include "display/gdi/gdi_driver.h"
#else
#include "display/x11/x11_driver.h"
#endif

namespace zv {

namespace {

#ifdef _WIN32
const DisplayDriver* const builtin_drivers[] = {
    &ddraw_driver,
    &gdi_driver,
    &opengl_driver,
    nullptr,
};
#else
// A mode switch disturbs a desktop, so the exclusive driver comes only when named or
// when the window cannot be had.
const DisplayDriver* const builtin_drivers[] = {
    &x11_driver,
    &ddraw_driver,
    &opengl_driver,
    nullptr,
};
#endif

const DisplayDriver* const* active_list = builtin_drivers;

}  // namespace

const DisplayDriver* const* display_driver_list() { return active_list; }

bool display_verbose() {
  const char* value = platform::get_env("ZVGFX_VERBOSE");
  return value && *value && !(value[0] == '0' && !value[1]);
}

void set_display_driver_list(const DisplayDriver* const* list) { active_list = list ? list : builtin_drivers; }

}  // namespace zv
