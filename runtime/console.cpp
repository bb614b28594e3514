// The console defaults behind the hooks while no graphics screen is open. Output goes
// to standard output as plain bytes; the console keeps its own cursor, colours and size
// so that the queries answer consistently. There is no console keyboard: key queries
// report that no key is waiting.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "runtime/random_timer.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

struct ConsoleState {
  bool initialised;
  int32_t columns, rows;   // 80 x 25 unless set_width changed them
  int32_t column, row;     // 0-based cursor
  int32_t foreground, background;
  int32_t cursor_visible;
  int32_t work_page, visible_page;
};

ConsoleState console;

void advance_cursor(const uint8_t* bytes, int32_t length) {
  for (int32_t i = 0; i < length; ++i) {
    switch (bytes[i]) {
      case 13: console.column = 0; break;
      case 10: console.column = 0; console.row = console.row + 1 < console.rows ? console.row + 1 : console.row; break;
      case 8: if (console.column > 0) --console.column; break;
      case 7: break;
      default:
        if (++console.column >= console.columns) {
          console.column = 0;
          if (console.row + 1 < console.rows) ++console.row;
        }
    }
  }
}

StringDescriptor* con_key_string() { return &runtime.empty_string; }
int32_t con_wait_key() { return 0; }
int32_t con_key_pending() { return 0; }

void con_clear_screen(int32_t mode) {
  if (mode == 1) return;
  console.column = 0;
  console.row = mode == 2 || mode == NOT_GIVEN ? view_top() : 0;
}

int32_t con_set_color(int32_t foreground, int32_t background, int32_t flags) {
  int32_t previous = (console.foreground & 0xFFFF) | (console.background << 16);
  if (!(flags & 1)) console.foreground = foreground & 15;
  if (!(flags & 2)) console.background = background & 15;
  return previous;
}

int32_t con_locate(int32_t row, int32_t column, int32_t visibility) {
  int32_t was_visible = console.cursor_visible;
  if (visibility >= 0) console.cursor_visible = visibility != 0;
  if (row >= 1) console.row = row - 1;
  if (column >= 1) console.column = column - 1;
  return (console.column + 1) + 256 * (console.row + 1) + (was_visible ? 65536 : 0);
}

int32_t con_set_width(int32_t columns, int32_t rows) {
  if (columns >= 1) console.columns = columns;
  if (rows >= 1) console.rows = rows;
  return console.columns + 65536 * console.rows;
}

int32_t con_get_column() { return console.column + 1; }
int32_t con_get_row() { return console.row + 1; }

void con_get_cursor(int32_t* column, int32_t* row) {
  if (column) *column = console.column + 1;
  if (row) *row = console.row + 1;
}

void con_get_size(int32_t* columns, int32_t* rows) {
  if (columns) *columns = console.columns;
  if (rows) *rows = console.rows;
}

void con_print_text(const uint8_t* bytes, int32_t length, int32_t /*flags*/) {
  if (!bytes || length <= 0) return;
  std::fwrite(bytes, 1, static_cast<size_t>(length), stdout);
  std::fflush(stdout);
  advance_cursor(bytes, length);
}

void con_print_wide_text(const uint16_t* units, int32_t length, int32_t flags) {
  if (!units || length <= 0) return;
  uint8_t run[256];
  int32_t n = 0;
  for (int32_t i = 0; i < length; ++i) {
    uint16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < length) ++i;  // a surrogate pair is one character
    run[n++] = u < 256 ? static_cast<uint8_t>(u) : '?';
    if (n == sizeof run) {
      con_print_text(run, n, flags);
      n = 0;
    }
  }
  con_print_text(run, n, flags);
}

char* con_read_line(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return buffer;
  if (!std::fgets(buffer, capacity, stdin)) buffer[0] = 0;
  buffer[std::strcspn(buffer, "\r\n")] = 0;
  return buffer;
}

int32_t con_key_held(int32_t) { return 0; }

int32_t con_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  for (int32_t* out : {x, y, wheel, buttons, clip})
    if (out) *out = -1;
  return set_error(ERR_ILLEGAL_CALL);
}

int32_t con_set_mouse(int32_t, int32_t, int32_t, int32_t) { return set_error(ERR_ILLEGAL_CALL); }
int32_t con_port_in(int32_t) { return -1; }
int32_t con_port_out(int32_t, int32_t) { return 0; }
void con_view_update() {}

int32_t read_console_line(void* destination, int32_t destination_size, int32_t fill) {
  char line[1024];
  if (!std::fgets(line, sizeof line, stdin)) return set_error(ERR_NO_INPUT_LINE);
  line[std::strcspn(line, "\r\n")] = 0;
  str_assign(destination, destination_size, line, 0, fill);
  return set_error(ERR_NONE);
}

int32_t con_line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                       int32_t question, int32_t /*newline*/) {
  if (prompt) {
    if (str_length(prompt) > 0) con_print_text(reinterpret_cast<const uint8_t*>(prompt->data), str_length(prompt), 0);
    str_release_temp(prompt);
  }
  if (question) con_print_text(reinterpret_cast<const uint8_t*>("? "), 2, 0);
  return read_console_line(destination, destination_size, fill);
}

int32_t con_line_input_wide(const uint16_t* prompt, void* destination, int32_t destination_size, int32_t fill,
                            int32_t question, int32_t /*newline*/) {
  if (prompt) {
    int32_t n = 0;
    while (prompt[n]) ++n;
    con_print_wide_text(prompt, n, 0);
  }
  if (question) con_print_text(reinterpret_cast<const uint8_t*>("? "), 2, 0);
  return read_console_line(destination, destination_size, fill);
}

int32_t con_read_cell(int32_t, int32_t, int32_t) { return 0; }
int32_t con_query_flag() { return 0; }
int32_t con_page_copy(int32_t, int32_t) { return set_error(ERR_ILLEGAL_CALL); }

// Pages 0 to 4 are accepted; the console shows one buffer, so a page change only
// records the numbers.
int32_t con_page_set(int32_t work, int32_t visible) {
  int32_t previous = console.work_page + 256 * console.visible_page;
  if (work >= 0) console.work_page = work;
  if (visible >= 0) console.visible_page = visible;
  return previous;
}

constexpr RuntimeHooks console_table = {
    con_key_string,  con_wait_key,     con_key_pending, con_clear_screen,    con_set_color,   con_locate,
    con_set_width,   con_get_column,   con_get_row,     con_get_cursor,      con_get_size,    con_print_text,
    con_print_wide_text, con_read_line, con_key_held,   con_get_mouse,       con_set_mouse,   con_port_in,
    con_port_out,    con_view_update,  con_line_input,  con_line_input_wide, con_read_cell,   console_sleep,
    con_query_flag,  con_page_copy,    con_page_set,
};

}  // namespace

void console_reset() {
  console = ConsoleState{};
  console.columns = 80;
  console.rows = 25;
  console.foreground = 7;
  console.cursor_visible = 1;
}

const RuntimeHooks& console_hooks() { return console_table; }

void console_set_current_row(int32_t row) { console.row = row; }

void console_ensure_init() {
  if (console.initialised) return;
  console.initialised = true;
  if (runtime.console_channel.line_width == 0) {
    int32_t columns = 0;
    get_size(&columns, nullptr);
    runtime.console_channel.line_width = columns;
  }
}

void console_sleep(int32_t milliseconds) {
  const auto key_waiting = [] { return console_hooks().key_pending() != 0; };
  if (milliseconds == -1) {
    while (!key_waiting()) runtime_sleep_ms(50);
    return;
  }
  if (milliseconds > 99) {
    while (milliseconds > 50) {
      if (key_waiting()) return;
      runtime_sleep_ms(50);
      milliseconds -= 50;
    }
  }
  if (milliseconds > 0) runtime_sleep_ms(milliseconds);
}

}  // namespace zv
