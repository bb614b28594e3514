// Cursor placement, colours, clearing, the width and pages of the console.
#include <algorithm>

#include "gfx/text/graphics_text.h"
#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

void fill_rows(int32_t first_row, int32_t last_row) {
  const ConsoleGeometry& g = console_state.geometry;
  const int32_t width = console_window_width();
  const uint16_t attribute = console_attribute();
  for (int32_t row = first_row; row <= last_row; ++row)
    console_io().fill(console_state.work_page, g.window.left, g.window.top + row, width, ' ', attribute);
  console_io().set_cursor(console_state.work_page, g.window.left, g.window.top + first_row);
}

// Makes the page's screen buffer when it does not exist yet, with the output buffer's size.
bool make_page(int32_t page) {
  ConsoleState& s = console_state;
  if (s.page_made[page]) return true;
  if (!console_io().create_page(page)) return false;
  ConsoleBufferInfo info{};
  if (console_io().buffer_info(0, &info)) console_io().set_buffer_size(page, info.size_x, info.size_y);
  console_io().set_attribute(page, console_attribute());
  s.page_made[page] = true;
  return true;
}

}  // namespace

int32_t console_locate(int32_t row, int32_t column, int32_t visibility) {
  console_start();
  ConsoleState& s = console_state;
  s.newline_pending = false;
  int32_t x = 0, y = 0;
  console_get_cursor(&x, &y);
  if (row >= 1) y = row;
  if (column >= 1) x = column;
  if (!console_geometry_valid()) {
    const bool was_visible = s.plain_cursor_visible;
    if (visibility >= 0) s.plain_cursor_visible = visibility != 0;
    s.plain_column = x - 1;
    s.plain_row = y - 1;
    return (x & 255) + 256 * (y & 255) + (was_visible ? 65536 : 0);
  }
  const bool was_visible = console_io().cursor_visible(s.work_page);
  if (visibility >= 0) console_io().show_cursor(s.work_page, visibility != 0);
  const ConsoleRect& w = s.geometry.window;
  console_io().set_cursor(s.work_page, w.left + x - 1, w.top + y - 1);
  return (x & 255) + 256 * (y & 255) + (was_visible ? 65536 : 0);
}

int32_t console_set_color(int32_t foreground, int32_t background, int32_t flags) {
  console_start();
  ConsoleState& s = console_state;
  const int32_t previous = (s.foreground & 0xFFFF) | (s.background << 16);
  if (!(flags & COLOR_KEEP_FOREGROUND)) s.foreground = foreground & 15;
  if (!(flags & COLOR_KEEP_BACKGROUND)) s.background = background & 15;
  if (s.is_console) console_io().set_attribute(s.work_page, console_attribute());
  return previous;
}

void console_clear_screen(int32_t mode) {
  console_start();
  if (mode == CLEAR_VIEW) return;
  if (!console_geometry_valid()) {
    console_state.plain_column = 0;
    console_state.plain_row = mode == CLEAR_TEXT_WINDOW || mode == NOT_GIVEN ? view_top() : 0;
    return;
  }
  console_state.newline_pending = false;
  if (mode == CLEAR_TEXT_WINDOW || mode == NOT_GIVEN) {
    fill_rows(view_top(), view_bottom());
  } else {
    fill_rows(0, console_window_height() - 1);
  }
}

int32_t console_set_width(int32_t columns, int32_t rows) {
  console_start();
  ConsoleState& s = console_state;
  const int32_t width = console_window_width(), height = console_window_height();
  if (columns < 1 && rows < 1) return width + 65536 * height;
  if (columns < 1) columns = width;
  if (rows < 1) rows = height;
  // A console coordinate is 16 bits wide; this also keeps the packed result in range.
  columns = std::min(columns, CONSOLE_MAX_EXTENT);
  rows = std::min(rows, CONSOLE_MAX_EXTENT);
  if (!console_geometry_valid()) {
    s.plain_columns = columns;
    s.plain_rows = rows;
    if (s.plain_column >= columns) s.plain_column = columns - 1;
    if (s.plain_row >= rows) s.plain_row = rows - 1;
    return columns + 65536 * rows;
  }
  const ConsoleBinding& io = console_io();
  int32_t largest_x = 0, largest_y = 0;
  io.largest_window(s.work_page, &largest_x, &largest_y);
  const auto limit = [](int32_t value, int32_t largest) { return largest > 0 && value > largest ? largest : value; };
  const int32_t window_x = limit(columns, largest_x), window_y = limit(rows, largest_y);
  // A buffer cannot become smaller than its window, so the windows shrink first.
  for (int32_t page = 0; page < CONSOLE_PAGES; ++page) {
    if (page != 0 && !s.page_made[page]) continue;
    ConsoleBufferInfo info{};
    if (!io.buffer_info(page, &info)) continue;
    ConsoleRect w = info.window;
    if (w.right - w.left + 1 > window_x) w.right = w.left + window_x - 1;
    if (w.bottom - w.top + 1 > window_y) w.bottom = w.top + window_y - 1;
    io.set_window(page, w);
  }
  for (int32_t page = 0; page < CONSOLE_PAGES; ++page) {
    if (page != 0 && !s.page_made[page]) continue;
    io.set_buffer_size(page, columns, rows);
    io.set_window(page, {0, 0, window_x - 1, window_y - 1});
  }
  s.geometry_frozen = false;
  console_read_geometry();
  s.geometry_frozen = true;
  s.newline_pending = false;
  return console_window_width() + 65536 * console_window_height();
}

int32_t console_page_set(int32_t work, int32_t visible) {
  console_start();
  ConsoleState& s = console_state;
  const int32_t previous = s.work_page + 256 * s.visible_page;
  if (work < 0) work = s.work_page;
  if (visible < 0) visible = s.visible_page;
  // The wrapper lets page 4 through for the graphics screen; the console has pages 0 to 3.
  if (work >= CONSOLE_PAGES || visible >= CONSOLE_PAGES) return -1;
  if (!console_geometry_valid()) {
    s.work_page = work;
    s.visible_page = visible;
    return previous;
  }
  if (!make_page(work) || !make_page(visible)) return -1;
  const ConsoleBinding& io = console_io();
  if (work != visible) {
    io.show_cursor(work, false);
    io.show_cursor(visible, false);
  }
  if (visible != s.visible_page) io.activate_page(visible);
  if (work != s.work_page) s.newline_pending = false;
  s.work_page = work;
  s.visible_page = visible;
  io.set_attribute(work, console_attribute());
  console_read_geometry();
  return previous;
}

}  // namespace zv
