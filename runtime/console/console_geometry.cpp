// The console's state, its first use, the window geometry and the position queries.
#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace zv {

ConsoleState console_state;

namespace {

const ConsoleBinding* replaced_binding = nullptr;

constexpr int32_t FALLBACK_COLUMNS = 80;
constexpr int32_t FALLBACK_ROWS = 25;
constexpr uint16_t FALLBACK_ATTRIBUTE = 7;

}  // namespace

void console_use_binding(const ConsoleBinding* binding) { replaced_binding = binding; }

const ConsoleBinding& console_io() { return replaced_binding ? *replaced_binding : console_binding(); }

void console_reset() {
  console_state = ConsoleState{};
  console_state.foreground = 7;
  console_state.page_made[0] = true;  // the output handle
  console_state.plain_columns = FALLBACK_COLUMNS;
  console_state.plain_rows = FALLBACK_ROWS;
  console_state.plain_cursor_visible = true;
}

void console_start() {
  if (!console_state.started) {
    console_state.started = true;
    console_state.is_console = console_io().start();
  }
  if (!console_state.geometry_read) console_read_geometry();
}

void console_read_geometry() {
  if (console_state.geometry_frozen) return;
  console_state.geometry_read = true;
  ConsoleBufferInfo info{};
  if (!console_state.is_console || !console_io().buffer_info(console_state.work_page, &info)) info = {};
  console_state.geometry = {info.window, info.size_x, info.size_y};
}

bool console_geometry_valid() {
  const ConsoleRect& w = console_state.geometry.window;
  return w.left != w.right && w.top != w.bottom;
}

int32_t console_window_width() {
  if (!console_geometry_valid()) return console_state.plain_columns;
  return console_state.geometry.window.right - console_state.geometry.window.left + 1;
}

int32_t console_window_height() {
  if (!console_geometry_valid()) return console_state.plain_rows;
  return console_state.geometry.window.bottom - console_state.geometry.window.top + 1;
}

ConsoleBufferInfo console_work_info() {
  ConsoleBufferInfo info{};
  if (console_io().buffer_info(console_state.work_page, &info)) return info;
  const ConsoleRect& w = console_state.geometry.window;
  info = {FALLBACK_COLUMNS, FALLBACK_ROWS, w.left, w.top, FALLBACK_ATTRIBUTE, w};
  return info;
}

uint16_t console_attribute() {
  // The runtime's colour numbers are already in the console's bit order (1 blue, 2 green,
  // 4 red, 8 bright), so the colour map is the identity.
  return static_cast<uint16_t>((console_state.foreground & 15) + 16 * (console_state.background & 15));
}

void console_get_cursor(int32_t* column, int32_t* row) {
  console_start();
  int32_t x = console_state.plain_column, y = console_state.plain_row;
  if (console_geometry_valid()) {
    const ConsoleBufferInfo info = console_work_info();
    x = info.cursor_x - console_state.geometry.window.left;
    y = info.cursor_y - console_state.geometry.window.top;
  }
  if (column) *column = x + 1;
  if (row) *row = y + 1;
}

int32_t console_get_column() {
  int32_t column = 1;
  console_get_cursor(&column, nullptr);
  return column;
}

int32_t console_get_row() {
  int32_t row = 1;
  console_get_cursor(nullptr, &row);
  return row;
}

void console_get_size(int32_t* columns, int32_t* rows) {
  console_start();
  if (columns) *columns = console_window_width();
  if (rows) *rows = console_window_height();
}

void console_view_update() {
  console_start();
  console_read_geometry();
}

}  // namespace zv
