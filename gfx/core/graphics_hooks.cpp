// The console operations a graphics screen takes over while it is open. An empty slot
// leaves the operation to the console.
#include "gfx/core/ports.h"
#include "gfx/core/screen.h"
#include "input/input_hooks.h"

namespace zv {

namespace {

void graphics_view_update() {}
int32_t graphics_query_flag() { return 0; }

constexpr RuntimeHooks graphics_table = {
    gfx_key_string,
    gfx_wait_key,
    gfx_key_pending,
    nullptr,  // clear_screen: text
    nullptr,  // set_color: text
    nullptr,  // locate: text
    nullptr,  // set_width: text
    nullptr,  // get_column: text
    nullptr,  // get_row: text
    nullptr,  // get_cursor: text
    nullptr,  // get_size: text
    nullptr,  // print_text: text
    nullptr,  // print_wide_text: text
    nullptr,  // read_line: text
    gfx_key_held,
    gfx_get_mouse,
    gfx_set_mouse,
    graphics_port_in,
    graphics_port_out,
    graphics_view_update,
    nullptr,  // line_input: text
    nullptr,  // line_input_wide: text
    nullptr,  // read_cell: text
    gfx_sleep,
    graphics_query_flag,
    screen_copy_page,
    screen_set_pages,
};

}  // namespace

const RuntimeHooks& graphics_hooks() { return graphics_table; }

}  // namespace zv
