// Console screen buffers kept in memory (a terminal has none of its own): cells of a byte and an
// attribute, a cursor and a window, with the operations the console driver asks for.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/console/console_binding.h"

namespace zv {

struct Cell {
  uint8_t byte;
  uint8_t attribute;
};

struct CellPage {
  bool exists;
  bool sized_by_program;  // a width change set its size; otherwise it follows the terminal
  int32_t size_x, size_y;
  std::vector<Cell> cells;
  int32_t cursor_x, cursor_y;
  bool cursor_visible;
  uint8_t attribute;
  ConsoleRect window;
};

// Makes or resizes a page; the contents keep their cells, new ones are blank.
void cell_page_resize(CellPage* page, int32_t size_x, int32_t size_y);
// Clipped to the buffer.
void cell_page_write(CellPage* page, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint8_t attribute);
// count cells from (x, y), continuing on the next rows; clipped to the buffer.
void cell_page_fill(CellPage* page, int32_t x, int32_t y, int32_t count, uint8_t byte, uint8_t attribute);
// The rectangle, clipped to the buffer, moves up by lines rows; vacated rows become spaces.
// Returns the clipped rectangle (empty: right < left).
ConsoleRect cell_page_scroll_up(CellPage* page, ConsoleRect rect, int32_t lines, uint8_t attribute);
// The window must lie in the buffer and be no larger than the largest window.
bool cell_page_set_window(CellPage* page, ConsoleRect window, int32_t largest_x, int32_t largest_y);
const Cell& cell_at(const CellPage& page, int32_t x, int32_t y);

}  // namespace zv
