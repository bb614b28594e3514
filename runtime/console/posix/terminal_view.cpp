// The terminal's escape sequences for the console: cursor placement, SGR colours,
// scrolling regions, cursor visibility.
#include "runtime/console/posix/terminal_view.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/posix/terminal.h"
#include "runtime/console/posix/cp437.h"

namespace zv {

TerminalView terminal_view = {80, 24, true};

namespace {

std::string pending;
int32_t current_attribute = -1;  // what the terminal draws with now; -1 unknown

void append_number(int32_t n) { pending += std::to_string(n); }

void move_to(int32_t column, int32_t row) {  // 0-based terminal cell
  pending += "\x1b[";
  append_number(row + 1);
  pending += ';';
  append_number(column + 1);
  pending += 'H';
}

// Console colour bits are 1 blue, 2 green, 4 red, 8 bright; ANSI colours count red first.
int32_t ansi_colour(int32_t console_colour) {
  return ((console_colour & 4) ? 1 : 0) | ((console_colour & 2) ? 2 : 0) | ((console_colour & 1) ? 4 : 0);
}

void use_attribute(int32_t attribute) {
  if (attribute == current_attribute) return;
  current_attribute = attribute;
  const int32_t fg = attribute & 15, bg = (attribute >> 4) & 15;
  pending += "\x1b[0;";
  append_number((fg & 8 ? 90 : 30) + ansi_colour(fg));
  pending += ';';
  append_number((bg & 8 ? 100 : 40) + ansi_colour(bg));
  pending += 'm';
}

void put_glyph(uint8_t byte) {
  if (terminal_view.utf8) {
    char utf8[3];
    pending.append(utf8, static_cast<size_t>(cp437_to_utf8(byte, utf8)));
  } else {
    pending += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : (byte == 0 ? ' ' : '?');
  }
}

int32_t visible_width(const CellPage& page) {
  return std::min(page.window.right - page.window.left + 1, terminal_view.columns);
}

int32_t visible_height(const CellPage& page) {
  return std::min(page.window.bottom - page.window.top + 1, terminal_view.rows);
}

void reset_attribute() {
  pending += "\x1b[0m";
  current_attribute = -1;
}

}  // namespace

void view_cells(const CellPage& page, int32_t x, int32_t y, int32_t count) {
  const int32_t row = y - page.window.top;
  if (row < 0 || row >= visible_height(page)) return;
  const int32_t first = std::max(x, page.window.left);
  const int32_t end = std::min(x + count, page.window.left + visible_width(page));
  if (first >= end) return;
  move_to(first - page.window.left, row);
  for (int32_t cx = first; cx < end; ++cx) {
    const Cell& cell = cell_at(page, cx, y);
    use_attribute(cell.attribute);
    put_glyph(cell.byte);
  }
}

void view_rows(const CellPage& page, int32_t first, int32_t last) {
  const bool narrow = visible_width(page) < terminal_view.columns;
  for (int32_t y = std::max(first, page.window.top); y <= last; ++y) {
    if (y - page.window.top >= visible_height(page)) break;
    view_cells(page, page.window.left, y, visible_width(page));
    if (narrow) {
      reset_attribute();
      pending += "\x1b[K";  // beyond a narrow window the terminal stays blank
    }
  }
}

void view_repaint(const CellPage& page) {
  reset_attribute();
  pending += "\x1b[2J";
  view_rows(page, page.window.top, page.window.top + visible_height(page) - 1);
}

void view_scroll(const CellPage& page, ConsoleRect rect, int32_t lines) {
  const int32_t top = std::max(rect.top, page.window.top) - page.window.top;
  const int32_t bottom = std::min(rect.bottom - page.window.top, visible_height(page) - 1);
  if (top > bottom || lines <= 0) return;
  const bool spans_width = rect.left <= page.window.left && rect.right >= page.window.left + visible_width(page) - 1;
  if (!spans_width || lines > bottom - top) {
    view_rows(page, top + page.window.top, bottom + page.window.top);
    return;
  }
  // Line feeds on the region's last row: when the region is the whole terminal the rows
  // go into its scroll-back, as printed lines do.
  pending += "\x1b[";
  append_number(top + 1);
  pending += ';';
  append_number(bottom + 1);
  pending += 'r';
  move_to(0, bottom);
  reset_attribute();
  pending.append(static_cast<size_t>(lines), '\n');
  pending += "\x1b[r";
  // The rows that came in: blanks in the fill attribute, or rows from below the window.
  view_rows(page, bottom - lines + 1 + page.window.top, bottom + page.window.top);
}

void view_finish(const CellPage& page) {
  const int32_t column = page.cursor_x - page.window.left, row = page.cursor_y - page.window.top;
  const bool on_screen = column >= 0 && row >= 0 && column < visible_width(page) && row < visible_height(page);
  if (on_screen) move_to(column, row);
  pending += page.cursor_visible && on_screen ? "\x1b[?25h" : "\x1b[?25l";
  platform::write_output(reinterpret_cast<const uint8_t*>(pending.data()), static_cast<int32_t>(pending.size()));
  pending.clear();
}

const char* view_restore_text() { return "\x1b[0m\x1b[?25h\x1b[?1006l\x1b[?1003l\x1b[?1000l"; }

const char* view_cursor_query() { return "\x1b[6n"; }

int32_t view_find_cursor_report(const uint8_t* bytes, int32_t length, int32_t* report_length, int32_t* x,
                                int32_t* y) {
  for (int32_t start = 0; start + 1 < length; ++start) {
    if (bytes[start] != 0x1B || bytes[start + 1] != '[') continue;
    int32_t numbers[2] = {0, 0}, which = 0, i = start + 2;
    for (; i < length; ++i) {
      const uint8_t b = bytes[i];
      if (b >= '0' && b <= '9' && numbers[which] < 100000) {
        numbers[which] = numbers[which] * 10 + (b - '0');
      } else if (b == ';' && which == 0) {
        which = 1;
      } else {
        break;
      }
    }
    if (i < length && bytes[i] == 'R' && which == 1 && numbers[0] > 0 && numbers[1] > 0) {
      *report_length = i + 1 - start;
      *y = numbers[0] - 1;
      *x = numbers[1] - 1;
      return start;
    }
  }
  return -1;
}

}  // namespace zv
