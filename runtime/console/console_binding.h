// What the console driver needs from the system console: screen buffers with a visible
// window, a cursor and attributes, addressed by page number. On Windows these are the
// console's own screen buffers; on a terminal, cell buffers of which the visible one is
// drawn. Coordinates are buffer cells, 0-based; rectangles are inclusive.
#pragma once

#include <cstdint>

namespace zv {

constexpr int32_t CONSOLE_PAGES = 4;
// The largest width or height a console buffer can have (its coordinates are 16-bit).
constexpr int32_t CONSOLE_MAX_EXTENT = 32767;

struct ConsoleRect {
  int32_t left, top, right, bottom;
};

// One read of a screen buffer's state.
struct ConsoleBufferInfo {
  int32_t size_x, size_y;      // the buffer
  int32_t cursor_x, cursor_y;  // buffer cells
  uint16_t attribute;          // what new text is written with
  ConsoleRect window;          // the visible part of the buffer
};

struct ConsoleBinding {
  // Fetches the standard handles (once) and switches processed input on. False when
  // standard output is not a console at all.
  bool (*start)();
  bool (*buffer_info)(int32_t page, ConsoleBufferInfo* info);
  // count cells of one row from (x, y), each a byte with the attribute.
  bool (*write_cells)(int32_t page, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint16_t attribute);
  // count cells from (x, y) onwards, wrapping into the next rows, set to one byte and attribute.
  void (*fill)(int32_t page, int32_t x, int32_t y, int32_t count, uint8_t byte, uint16_t attribute);
  // Moves the rectangle's contents up by lines rows within it; vacated cells become spaces
  // in the attribute.
  void (*scroll_up)(int32_t page, ConsoleRect rect, int32_t lines, uint16_t attribute);
  void (*set_cursor)(int32_t page, int32_t x, int32_t y);
  bool (*cursor_visible)(int32_t page);
  void (*show_cursor)(int32_t page, bool visible);
  void (*set_attribute)(int32_t page, uint16_t attribute);
  bool (*set_window)(int32_t page, ConsoleRect window);
  bool (*set_buffer_size)(int32_t page, int32_t columns, int32_t rows);
  void (*largest_window)(int32_t page, int32_t* columns, int32_t* rows);
  // A new screen buffer for page (1 to 3); false when it cannot be made.
  bool (*create_page)(int32_t page);
  void (*activate_page)(int32_t page);
  // Plain bytes to standard output, for output that is not a console. False when a write failed.
  bool (*write_bytes)(const uint8_t* bytes, int32_t length);
};

// The binding of this platform (runtime/console/win32 or runtime/console/posix).
const ConsoleBinding& console_binding();

}  // namespace zv
