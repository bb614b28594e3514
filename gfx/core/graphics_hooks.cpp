// The console operations a graphics screen takes over while it is open. An empty slot
// leaves the operation to the console.
#include "gfx/core/ports.h"
#include "gfx/core/screen.h"

namespace zv {

namespace {

void graphics_view_update() {}
int32_t graphics_query_flag() { return 0; }

constexpr RuntimeHooks graphics_table = {
    nullptr,  // key_string: input
    nullptr,  // wait_key: input
    nullptr,  // key_pending: input
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
    nullptr,  // key_held: input
    nullptr,  // get_mouse: input
    nullptr,  // set_mouse: input
    graphics_port_in,
    graphics_port_out,
    graphics_view_update,
    nullptr,  // line_input: text
    nullptr,  // line_input_wide: text
    nullptr,  // read_cell: text
    nullptr,  // sleep: input
    graphics_query_flag,
    screen_copy_page,
    screen_set_pages,
};

}  // namespace

const RuntimeHooks& graphics_hooks() { return graphics_table; }

}  // namespace zv
