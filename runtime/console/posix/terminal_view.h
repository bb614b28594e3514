// Draws the visible console page on the terminal: its window's cells at the terminal's
// top-left, in the 16 console colours, with the terminal's scrolling where it helps.
#pragma once

#include <cstdint>

#include "runtime/console/cell_pages.h"

namespace zv {

struct TerminalView {
  int32_t columns, rows;  // the terminal's size
  bool utf8;              // code page 437 glyphs as UTF-8, else plain ASCII
};

extern TerminalView terminal_view;

// The buffer cells (x .. x + count - 1, y) where they are on the terminal.
void view_cells(const CellPage& page, int32_t x, int32_t y, int32_t count);
// The visible part of buffer rows first .. last.
void view_rows(const CellPage& page, int32_t first, int32_t last);
void view_repaint(const CellPage& page);
// The rectangle scrolled up by lines rows in the page; the terminal scrolls the same rows
// with a scrolling region when the rectangle spans the visible width.
void view_scroll(const CellPage& page, ConsoleRect rect, int32_t lines);
// The cursor's place and visibility; sends everything drawn so far.
void view_finish(const CellPage& page);
// The escape sequences that put the terminal's colours, cursor and mouse back.
const char* view_restore_text();
// "ESC [ 6 n": asks the terminal where its cursor is.
const char* view_cursor_query();
// Finds a cursor report ("ESC [ row ; column R") in bytes; returns its offset and length,
// and the 0-based position, or -1 when there is none.
int32_t view_find_cursor_report(const uint8_t* bytes, int32_t length, int32_t* report_length, int32_t* x,
                                int32_t* y);

}  // namespace zv
