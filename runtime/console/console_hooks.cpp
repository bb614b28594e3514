// The console defaults behind the hooks while no graphics screen is open, and line input
// on the console.
#include "gfx/text/graphics_text.h"
#include "input/console/console_input.h"
#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

// Both sides are the console: the shared line editor, with keys from the console.
bool interactive() {
  console_start();
  return console_geometry_valid() && console_input_is_console();
}

// The line after the prompt: edited on a console, else read from standard input.
int32_t console_line(char* line, int32_t capacity) {
  if (interactive()) return edit_line(line, capacity);
  return console_input().read_plain_line(line, capacity);
}

constexpr LineInputSide CONSOLE_SIDE = {console_print_text, console_print_wide_text, console_line};

int32_t console_port_in(int32_t) { return -1; }
int32_t console_port_out(int32_t, int32_t) { return 0; }
int32_t console_read_cell(int32_t, int32_t, int32_t) { return 0; }
int32_t console_query_flag() { return 0; }
int32_t console_page_copy(int32_t, int32_t) { return set_error(ERR_ILLEGAL_CALL); }

constexpr RuntimeHooks console_table = {
    console_key_string,   console_wait_key,       console_key_pending,     console_clear_screen,
    console_set_color,    console_locate,         console_set_width,       console_get_column,
    console_get_row,      console_get_cursor,     console_get_size,        console_print_text,
    console_print_wide_text, console_read_line,   console_key_held,        console_get_mouse,
    console_set_mouse,    console_port_in,        console_port_out,        console_view_update,
    console_line_input,   console_line_input_wide, console_read_cell,      console_sleep,
    console_query_flag,   console_page_copy,      console_page_set,
};

}  // namespace

const RuntimeHooks& console_hooks() { return console_table; }

void console_ensure_init() {
  console_start();
  if (console_state.channel_set) return;
  console_state.channel_set = true;
  if (runtime.console_channel.line_width == 0) {
    int32_t columns = 0;
    get_size(&columns, nullptr);
    runtime.console_channel.line_width = columns;
  }
}

void console_set_current_row(int32_t row) { console_state.plain_row = row; }

int32_t console_line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                           int32_t question, int32_t newline) {
  return line_input_on(CONSOLE_SIDE, prompt, destination, destination_size, fill, question, newline);
}

int32_t console_line_input_wide(const uint16_t* prompt, void* destination, int32_t destination_size,
                                int32_t fill, int32_t question, int32_t newline) {
  return line_input_wide_on(CONSOLE_SIDE, prompt, destination, destination_size, fill, question, newline);
}

// A line with its end removed; an empty buffer at the end of input.
char* console_read_line(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return buffer;
  buffer[0] = 0;
  if (console_line(buffer, capacity) < 0) buffer[0] = 0;
  return buffer;
}

}  // namespace zv
