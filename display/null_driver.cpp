// The null driver: the screen exists only in memory. Smallest possible back-end.
#include "display/driver.h"

namespace zv {

namespace {

void null_lock() {}
void null_unlock() {}

}  // namespace

const DisplayDriver null_driver = {
    "Null",
    nullptr,      // open_display: nothing to open
    nullptr,      // close_display
    null_lock,
    null_unlock,
    nullptr,      // set_palette_entry
    nullptr,      // wait_vblank
    nullptr,      // query_mouse
    nullptr,      // place_mouse
    nullptr,      // set_title
    nullptr,      // move_window
    nullptr,      // list_modes
    nullptr,      // present_frame
    nullptr,      // pump_input
};

}  // namespace zv
