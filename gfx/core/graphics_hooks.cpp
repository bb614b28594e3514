// The console operations a graphics screen takes over while it is open. An empty slot
// leaves the operation to the console.
#include "gfx/core/ports.h"
#include "gfx/core/screen.h"
#include "gfx/text/graphics_text.h"
#include "input/input_hooks.h"

namespace zv {

namespace {

void graphics_view_update() {}
int32_t graphics_query_flag() { return 0; }

constexpr RuntimeHooks graphics_table = {
    gfx_key_string,
    gfx_wait_key,
    gfx_key_pending,
    gfx_clear_screen,
    gfx_set_color,
    gfx_locate,
    gfx_set_width,
    gfx_get_column,
    gfx_get_row,
    gfx_get_cursor,
    gfx_get_size,
    gfx_print_text,
    gfx_print_wide_text,
    gfx_read_line,
    gfx_key_held,
    gfx_get_mouse,
    gfx_set_mouse,
    graphics_port_in,
    graphics_port_out,
    graphics_view_update,
    gfx_line_input,
    gfx_line_input_wide,
    gfx_read_cell,
    gfx_sleep,
    graphics_query_flag,
    screen_copy_page,
    screen_set_pages,
};

}  // namespace

const RuntimeHooks& graphics_hooks() { return graphics_table; }

}  // namespace zv
