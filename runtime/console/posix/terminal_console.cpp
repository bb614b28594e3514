// The console on a terminal: four pages of cells, of which the visible one is drawn.
// Page 0 starts with the terminal's size and cursor and follows its size while no width
// change set it.
#include "platform/platform.h"
#include "platform/posix/terminal.h"
#include "runtime/console/console_binding.h"
#include "runtime/console/cell_pages.h"
#include "runtime/console/posix/terminal_view.h"
#include "runtime/random_timer.h"

#include <cstring>

namespace zv {

namespace {

struct TerminalConsole {
  CellPage pages[CONSOLE_PAGES];
  int32_t visible;
};

TerminalConsole console;

constexpr int32_t CURSOR_REPLY_WAIT_MS = 300;

bool locale_is_utf8() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = platform::get_env(name);
    if (!value || !*value) continue;
    return strstr(value, "UTF-8") || strstr(value, "utf8") || strstr(value, "UTF8") || strstr(value, "utf-8");
  }
  return false;
}

bool valid_page(int32_t page) { return page >= 0 && page < CONSOLE_PAGES && console.pages[page].exists; }

CellPage* page_of(int32_t page) { return valid_page(page) ? &console.pages[page] : nullptr; }

bool shown(int32_t page) { return page == console.visible; }

// Where the terminal's cursor is: asked with a cursor report. Keys typed meanwhile are
// kept for the key input. Without an answer: a new line, taken to be the bottom row.
void find_cursor(CellPage* page) {
  if (platform::terminal_input()) {
    platform::write_output(reinterpret_cast<const uint8_t*>(view_cursor_query()), 4);
    uint8_t bytes[256];
    int32_t count = 0;
    const double deadline = timer_seconds() + CURSOR_REPLY_WAIT_MS / 1000.0;
    while (count < static_cast<int32_t>(sizeof bytes) && timer_seconds() < deadline) {
      count += platform::terminal_read(bytes + count, static_cast<int32_t>(sizeof bytes) - count, 20);
      int32_t length = 0, x = 0, y = 0;
      const int32_t at = view_find_cursor_report(bytes, count, &length, &x, &y);
      if (at < 0) continue;
      platform::terminal_unread(bytes, at);
      platform::terminal_unread(bytes + at + length, count - at - length);
      page->cursor_x = x < page->size_x ? x : page->size_x - 1;
      page->cursor_y = y < page->size_y ? y : page->size_y - 1;
      return;
    }
    platform::terminal_unread(bytes, count);
  }
  platform::write_output(reinterpret_cast<const uint8_t*>("\r\n"), 2);
  page->cursor_x = 0;
  page->cursor_y = page->size_y - 1;
}

bool start() {
  platform::ignore_broken_pipe();
  if (!platform::terminal_output()) return false;
  platform::terminal_set_restore_text(view_restore_text());
  platform::terminal_take();
  platform::terminal_resized();
  terminal_view.utf8 = locale_is_utf8();
  int32_t columns = 80, rows = 24;
  platform::terminal_size(&columns, &rows);
  terminal_view.columns = columns;
  terminal_view.rows = rows;
  CellPage& page = console.pages[0];
  page = CellPage{};
  page.exists = true;
  page.cursor_visible = true;
  page.attribute = 7;
  page.window = {0, 0, columns - 1, rows - 1};
  cell_page_resize(&page, columns, rows);
  find_cursor(&page);
  console.visible = 0;
  return true;
}

// A new terminal size: pages that follow it take it on, and the visible page is redrawn.
void follow_resize() {
  if (!platform::terminal_resized()) return;
  int32_t columns = 0, rows = 0;
  if (!platform::terminal_size(&columns, &rows)) return;
  terminal_view.columns = columns;
  terminal_view.rows = rows;
  for (CellPage& page : console.pages) {
    if (!page.exists) continue;
    if (!page.sized_by_program) {
      page.window = {0, 0, columns - 1, rows - 1};
      cell_page_resize(&page, columns, rows);
    } else {
      cell_page_resize(&page, page.size_x, page.size_y);  // keeps the window within the buffer
    }
  }
  view_repaint(console.pages[console.visible]);
  view_finish(console.pages[console.visible]);
}

bool buffer_info(int32_t page_number, ConsoleBufferInfo* info) {
  follow_resize();
  const CellPage* page = page_of(page_number);
  if (!page) return false;
  *info = {page->size_x, page->size_y, page->cursor_x, page->cursor_y, page->attribute, page->window};
  return true;
}

bool write_cells(int32_t page_number, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint16_t attribute) {
  CellPage* page = page_of(page_number);
  if (!page || !bytes) return false;
  cell_page_write(page, x, y, bytes, count, static_cast<uint8_t>(attribute));
  if (shown(page_number)) view_cells(*page, x, y, count);
  return true;
}

void fill(int32_t page_number, int32_t x, int32_t y, int32_t count, uint8_t byte, uint16_t attribute) {
  CellPage* page = page_of(page_number);
  if (!page) return;
  cell_page_fill(page, x, y, count, byte, static_cast<uint8_t>(attribute));
  if (shown(page_number) && page->size_x > 0) view_rows(*page, y, y + (x + count - 1) / page->size_x);
}

void scroll_up(int32_t page_number, ConsoleRect rect, int32_t lines, uint16_t attribute) {
  CellPage* page = page_of(page_number);
  if (!page) return;
  const ConsoleRect done = cell_page_scroll_up(page, rect, lines, static_cast<uint8_t>(attribute));
  if (shown(page_number) && done.right >= done.left) view_scroll(*page, done, lines);
}

void set_cursor(int32_t page_number, int32_t x, int32_t y) {
  CellPage* page = page_of(page_number);
  if (!page || x < 0 || y < 0 || x >= page->size_x || y >= page->size_y) return;
  page->cursor_x = x;
  page->cursor_y = y;
  if (shown(page_number)) view_finish(*page);
}

bool cursor_visible(int32_t page_number) {
  const CellPage* page = page_of(page_number);
  return page && page->cursor_visible;
}

void show_cursor(int32_t page_number, bool visible) {
  CellPage* page = page_of(page_number);
  if (!page) return;
  page->cursor_visible = visible;
  if (shown(page_number)) view_finish(*page);
}

void set_attribute(int32_t page_number, uint16_t attribute) {
  if (CellPage* page = page_of(page_number)) page->attribute = static_cast<uint8_t>(attribute);
}

bool set_window(int32_t page_number, ConsoleRect window) {
  CellPage* page = page_of(page_number);
  if (!page || !cell_page_set_window(page, window, terminal_view.columns, terminal_view.rows)) return false;
  if (shown(page_number)) {
    view_repaint(*page);
    view_finish(*page);
  }
  return true;
}

bool set_buffer_size(int32_t page_number, int32_t columns, int32_t rows) {
  CellPage* page = page_of(page_number);
  if (!page || columns < 1 || rows < 1) return false;
  page->sized_by_program = true;
  cell_page_resize(page, columns, rows);
  return true;
}

void largest_window(int32_t, int32_t* columns, int32_t* rows) {
  *columns = terminal_view.columns;
  *rows = terminal_view.rows;
}

bool create_page(int32_t page_number) {
  if (page_number < 1 || page_number >= CONSOLE_PAGES) return false;
  CellPage& page = console.pages[page_number];
  const CellPage& first = console.pages[0];
  page = CellPage{};
  page.exists = true;
  page.sized_by_program = first.sized_by_program;
  page.cursor_visible = true;
  page.attribute = 7;
  page.window = {0, 0, first.window.right - first.window.left, first.window.bottom - first.window.top};
  cell_page_resize(&page, first.size_x, first.size_y);
  return true;
}

void activate_page(int32_t page_number) {
  if (!valid_page(page_number)) return;
  console.visible = page_number;
  view_repaint(console.pages[page_number]);
  view_finish(console.pages[page_number]);
}

bool write_bytes(const uint8_t* bytes, int32_t length) { return platform::write_output(bytes, length); }

constexpr ConsoleBinding terminal_binding = {
    start,         buffer_info,    write_cells,    fill,         scroll_up,    set_cursor,
    cursor_visible, show_cursor,   set_attribute,  set_window,   set_buffer_size, largest_window,
    create_page,   activate_page,  write_bytes,
};

}  // namespace

const ConsoleBinding& console_binding() { return terminal_binding; }

}  // namespace zv
