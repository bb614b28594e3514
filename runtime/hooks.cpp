// Public console-style operations: each calls its hook while a graphics screen has
// filled it and the console default otherwise.
#include "runtime/runtime.h"

namespace zv {

namespace {

// The slot when filled, else the console default of the same slot.
template <class Fn>
Fn pick(Fn RuntimeHooks::*slot) {
  Fn hook = runtime.hooks.*slot;
  return hook ? hook : console_hooks().*slot;
}

}  // namespace

StringDescriptor* key_string() { return pick(&RuntimeHooks::key_string)(); }
int32_t wait_key() { return pick(&RuntimeHooks::wait_key)(); }
int32_t key_pending() { return pick(&RuntimeHooks::key_pending)(); }

int32_t set_color(int32_t foreground, int32_t background, int32_t flags) {
  return pick(&RuntimeHooks::set_color)(foreground, background, flags);
}

int32_t get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  return pick(&RuntimeHooks::get_mouse)(x, y, wheel, buttons, clip);
}

int32_t set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip) {
  return pick(&RuntimeHooks::set_mouse)(x, y, visibility, clip);
}

void sleep(int32_t milliseconds) { pick(&RuntimeHooks::sleep)(milliseconds); }
void view_update() { pick(&RuntimeHooks::view_update)(); }

void print_text(const uint8_t* bytes, int32_t length, int32_t flags) {
  pick(&RuntimeHooks::print_text)(bytes, length, flags);
}

void print_wide_text(const uint16_t* units, int32_t length, int32_t flags) {
  pick(&RuntimeHooks::print_wide_text)(units, length, flags);
}

int32_t line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                   int32_t question, int32_t newline) {
  return pick(&RuntimeHooks::line_input)(prompt, destination, destination_size, fill, question, newline);
}

int32_t get_column() { return pick(&RuntimeHooks::get_column)(); }

void get_cursor(int32_t* column, int32_t* row) { pick(&RuntimeHooks::get_cursor)(column, row); }

void get_size(int32_t* columns, int32_t* rows) { pick(&RuntimeHooks::get_size)(columns, rows); }

void clear_screen(int32_t mode) {
  console_ensure_init();
  pick(&RuntimeHooks::clear_screen)(mode);
  runtime.console_channel.output_column = 0;
}

int32_t set_width(int32_t columns, int32_t rows) {
  console_ensure_init();
  int32_t result = pick(&RuntimeHooks::set_width)(columns, rows);
  if (columns > 0) runtime.console_channel.line_width = columns;
  if (columns > 0 || rows > 0) {
    view_print_reset(0, 0);
    return 0;
  }
  return result;
}

int32_t locate(int32_t row, int32_t column, int32_t visibility, int32_t* out_result) {
  set_error(ERR_NONE);
  int32_t top = 0, bottom = 0, columns = 0, rows = 0;
  view_bounds(&top, &bottom);
  get_size(&columns, &rows);
  if ((row != 0 && (row < top || row > bottom)) || (column != 0 && (column < 1 || column > columns)))
    return set_error(ERR_ILLEGAL_CALL);
  console_ensure_init();
  int32_t result = pick(&RuntimeHooks::locate)(row, column, visibility);
  if (column != 0) runtime.console_channel.output_column = column - 1;
  if (out_result) *out_result = result;
  return get_error();
}

int32_t page_set(int32_t work, int32_t visible) {
  console_ensure_init();
  if (work > 4 || visible > 4) return -1;
  return pick(&RuntimeHooks::page_set)(work, visible);
}

}  // namespace zv
