// The console text driver's own state and the rules its operations share. Public
// positions are 1-based and relative to the visible window; the binding works in
// 0-based buffer cells.
#pragma once

#include <cstdint>

#include "runtime/console/console_binding.h"
#include "runtime/strings.h"

namespace zv {

struct ConsoleGeometry {
  ConsoleRect window;
  int32_t size_x, size_y;
};

struct ConsoleState {
  bool started;        // handles fetched
  bool channel_set;    // the console channel took its line width
  bool is_console;     // standard output is a console (else plain bytes)
  int32_t work_page, visible_page;
  bool page_made[CONSOLE_PAGES];
  int32_t foreground, background;  // 0-15
  bool newline_pending;
  bool geometry_read;
  bool geometry_frozen;  // set by a width change: the geometry is no longer re-read
  ConsoleGeometry geometry;
  // While output is not a console: the size that width changes set and a cursor that
  // printing moves, so that the queries stay consistent.
  int32_t plain_columns, plain_rows;
  int32_t plain_column, plain_row;  // 0-based
  bool plain_cursor_visible;
};

extern ConsoleState console_state;

// Back to the state at start (nothing fetched, colours 7 on 0, page 0).
void console_reset();
// Tests replace the binding; null goes back to the platform's.
void console_use_binding(const ConsoleBinding* binding);
const ConsoleBinding& console_io();

// Fetches the handles on first use and reads the geometry if it was never read.
void console_start();
// Re-reads the window geometry of the work page unless a width change froze it.
void console_read_geometry();
// Left != right and top != bottom: output is a console window.
bool console_geometry_valid();
int32_t console_window_width();
int32_t console_window_height();
// The buffer state of the work page, or the fallback (the window's top-left, an 80 x 25
// buffer and attribute 7) when it cannot be read.
ConsoleBufferInfo console_work_info();
uint16_t console_attribute();

// The hooks' console defaults.
void console_print_text(const uint8_t* bytes, int32_t length, int32_t flags);
void console_print_wide_text(const uint16_t* units, int32_t length, int32_t flags);
int32_t console_locate(int32_t row, int32_t column, int32_t visibility);
void console_clear_screen(int32_t mode);
int32_t console_set_color(int32_t foreground, int32_t background, int32_t flags);
int32_t console_set_width(int32_t columns, int32_t rows);
int32_t console_page_set(int32_t work, int32_t visible);
int32_t console_get_column();
int32_t console_get_row();
void console_get_cursor(int32_t* column, int32_t* row);
void console_get_size(int32_t* columns, int32_t* rows);
void console_view_update();
int32_t console_line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                           int32_t question, int32_t newline);
int32_t console_line_input_wide(const uint16_t* prompt, void* destination, int32_t destination_size,
                                int32_t fill, int32_t question, int32_t newline);
char* console_read_line(char* buffer, int32_t capacity);

}  // namespace zv
