// The display drivers of each platform, in order of preference.
#include "display/driver.h"

#ifdef _WIN32
#include "display/gdi/gdi_driver.h"
#else
#include "display/x11/x11_driver.h"
#endif

namespace zv {

namespace {

#ifdef _WIN32
const DisplayDriver* const builtin_drivers[] = {
    &gdi_driver,
    nullptr,
};
#else
const DisplayDriver* const builtin_drivers[] = {
    &x11_driver,
    nullptr,
};
#endif

const DisplayDriver* const* active_list = builtin_drivers;

}  // namespace

const DisplayDriver* const* display_driver_list() { return active_list; }

void set_display_driver_list(const DisplayDriver* const* list) { active_list = list ? list : builtin_drivers; }

}  // namespace zv
