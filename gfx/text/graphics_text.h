// Text on the graphics screen: the operations the runtime's console statements reach
// through their hooks while a screen is open. Public positions are 1-based.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {

// Flags of the print operations
constexpr int32_t PRINT_NEWLINE_ONLY = 8;  // with length 0: carry out a pending line feed

// Clear modes
constexpr int32_t CLEAR_WHOLE_SCREEN = 0;
constexpr int32_t CLEAR_VIEW = 1;
constexpr int32_t CLEAR_TEXT_WINDOW = 2;

// set_color flags
constexpr int32_t COLOR_KEEP_FOREGROUND = 1;
constexpr int32_t COLOR_KEEP_BACKGROUND = 2;

// Draws the bytes at the text cursor (11 and 12 as glyphs, 7, 8, 9, 10, 13 as controls),
// wrapping and scrolling inside the text window.
void gfx_print_text(const uint8_t* bytes, int32_t length, int32_t flags);
// One byte per character: units above 255 print "?", a surrogate pair prints one "?".
void gfx_print_wide_text(const uint16_t* units, int32_t length, int32_t flags);
// Mode 0, 1, 2 or NOT_GIVEN (the view when one is set, else the whole screen when the
// text window covers it, else the text window).
void gfx_clear_screen(int32_t mode);
// Returns the previous colours, packed by depth.
int32_t gfx_set_color(int32_t foreground, int32_t background, int32_t flags);
// 0 keeps a coordinate; positions outside the screen set error 1 and move nothing.
// The visibility is ignored. Returns (row - 1 AND 255) * 256 + (column - 1 AND 255) + 257.
int32_t gfx_locate(int32_t row, int32_t column, int32_t visibility);
// Changes the text grid only when the cells come out 8 wide and 8, 14 or 16 high; then
// the screen is cleared. Returns the previous size, columns + 65536 * rows.
int32_t gfx_set_width(int32_t columns, int32_t rows);
int32_t gfx_get_column();
int32_t gfx_get_row();
void gfx_get_cursor(int32_t* column, int32_t* row);  // either may be null
void gfx_get_size(int32_t* columns, int32_t* rows);  // either may be null
// what 0: the character; 2: the background; otherwise the foreground (both packed as
// colours for depths up to 8). 0 outside the screen.
int32_t gfx_read_cell(int32_t column, int32_t row, int32_t what);
// One cell back; from column 0 to the last column of the row above (the row may become -1).
// A cursor parked after the last cell of the window stays on that cell.
void cursor_back();

// The line editor shared with the console. Edits the NUL-terminated text already in
// buffer (capacity bytes, terminator included) with keys from the hooks and returns the
// final length, or -1 when the window was closed during input (the text is then kept).
int32_t edit_line(char* buffer, int32_t capacity);
// Prompt (a string argument, released), question mark, edited line, optional line end.
// destination is a StringDescriptor* for size -1, else a byte buffer of that size (at
// least 1). Error 4 when no line was obtained, 1 for an unusable destination.
int32_t gfx_line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                       int32_t question, int32_t newline);
// The same with a NUL-terminated 16-bit prompt.
int32_t gfx_line_input_wide(const uint16_t* prompt, void* destination, int32_t destination_size, int32_t fill,
                            int32_t question, int32_t newline);
// Line input on a screen that is not necessarily the graphics screen (the console too):
// how it prints, and how it gets the line (-1 when none could be had).
struct LineInputSide {
  void (*print)(const uint8_t* bytes, int32_t length, int32_t flags);
  void (*print_wide)(const uint16_t* units, int32_t length, int32_t flags);
  int32_t (*read)(char* line, int32_t capacity);
};
int32_t line_input_on(const LineInputSide& side, StringDescriptor* prompt, void* destination,
                      int32_t destination_size, int32_t fill, int32_t question, int32_t newline);
int32_t line_input_wide_on(const LineInputSide& side, const uint16_t* prompt, void* destination,
                           int32_t destination_size, int32_t fill, int32_t question, int32_t newline);
// Simple line reading with a block cursor; keeps a final carriage return in the buffer.
char* gfx_read_line(char* buffer, int32_t capacity);

}  // namespace zv
