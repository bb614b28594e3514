// The text-output engine shared by the graphics screen and the console: splits bytes into
// runs of printable characters and cursor movements, wraps at the right edge of the text
// window and scrolls it. The sink supplies the drawing and the scrolling.
#pragma once

#include <cstdint>

namespace zv {

struct TextSink;

// Scrolls the window left..right, top..bottom up by `lines` rows and leaves the sink's
// cursor on row `bottom`.
using TextScrollFn = void (*)(TextSink* sink, int32_t left, int32_t top, int32_t right, int32_t bottom,
                              int32_t lines);
// Draws `count` printable bytes at the sink's cursor, all on one row; returns 1 on success.
// The engine moves the cursor afterwards.
using TextPutCharsFn = int32_t (*)(TextSink* sink, const uint8_t* bytes, int32_t count);

struct TextSink {
  void* owner;  // the sink's own data
  TextScrollFn scroll;
  TextPutCharsFn put_chars;
  int32_t left, top, right, bottom;  // the text window in 0-based cells, inclusive; bottom -1: never scrolls
  int32_t x, y;                      // the cursor, 0-based
};

// Printable bytes are handed to put_chars in runs of at most this many.
constexpr int32_t TEXT_RUN_LIMIT = 1024;

// Options of text_engine_write
constexpr uint32_t TEXT_LINE_FEED_RETURNS = 1;  // a line feed also moves to column `left`

// Bytes 7 (bell), 8 (back one column), 9 (spaces to the next multiple of 8 from `left`),
// 10 (next row) and 13 (column `left`) move the cursor; every other byte is printed.
// A line feed on the bottom row scrolls at once, while text ending exactly at the end of
// the bottom row leaves the cursor just below it for the caller to decide.
void text_engine_write(TextSink* sink, const uint8_t* bytes, int32_t length, uint32_t options);

// Scrolls when the cursor stands below `bottom` (and the window scrolls at all).
void text_engine_scroll_into_window(TextSink* sink);

}  // namespace zv
