// Printing on the console through the shared text engine, in buffer coordinates.
#include "gfx/text/graphics_text.h"
#include "gfx/text/text_engine.h"
#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

struct ConsoleSinkData {
  int32_t page;
  uint16_t attribute;
  bool whole_window;   // the text window is the whole visible window
  int32_t rows_below;  // buffer rows below the window that it may still move into
  int32_t window_moved;
  int32_t size_x, size_y;
};

ConsoleSinkData& data_of(TextSink* sink) { return *static_cast<ConsoleSinkData*>(sink->owner); }

// The line editor's cursor, a lone byte 255, shows as an underline character, as the
// graphics screen draws it as an underline.
constexpr uint8_t EDITOR_CURSOR = 255;
constexpr uint8_t UNDERLINE = '_';

int32_t put_chars(TextSink* sink, const uint8_t* bytes, int32_t count) {
  const ConsoleSinkData& d = data_of(sink);
  if (count == 1 && bytes[0] == EDITOR_CURSOR) bytes = &UNDERLINE;
  return console_io().write_cells(d.page, sink->x, sink->y, bytes, count, d.attribute) ? 1 : 0;
}

void scroll(TextSink* sink, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t lines) {
  ConsoleSinkData& d = data_of(sink);
  if (d.whole_window) {
    // The window follows the text while the buffer has rows below it, as a console does;
    // the rest scrolls the whole buffer.
    const int32_t move = lines < d.rows_below ? lines : d.rows_below;
    d.rows_below -= move;
    d.window_moved += move;
    sink->top += move;
    sink->bottom += move;
    lines -= move;
    if (lines > 0) console_io().scroll_up(d.page, {0, 0, d.size_x - 1, d.size_y - 1}, lines, d.attribute);
    return;
  }
  console_io().scroll_up(d.page, {left, top, right, bottom}, lines, d.attribute);
}

// Output that is not a console: the bytes as they are, and a cursor that follows them
// on a screen of the remembered size.
void print_plain(const uint8_t* bytes, int32_t length) {
  if (!console_io().write_bytes(bytes, length)) set_error(ERR_ILLEGAL_CALL);
  ConsoleState& s = console_state;
  for (int32_t i = 0; i < length; ++i) {
    switch (bytes[i]) {
      case 7: break;
      case 8: if (s.plain_column > 0) --s.plain_column; break;
      case 13: s.plain_column = 0; break;
      case 10:
        s.plain_column = 0;
        if (s.plain_row + 1 < s.plain_rows) ++s.plain_row;
        break;
      default:
        if (++s.plain_column >= s.plain_columns) {
          s.plain_column = 0;
          if (s.plain_row + 1 < s.plain_rows) ++s.plain_row;
        }
    }
  }
}

}  // namespace

void console_print_text(const uint8_t* bytes, int32_t length, int32_t flags) {
  if (length <= 0 && !(flags & PRINT_NEWLINE_ONLY)) return;
  if (length > 0 && !bytes) return;
  console_start();
  if (!console_geometry_valid()) {
    if (length > 0) print_plain(bytes, length);
    return;
  }
  ConsoleState& s = console_state;
  const ConsoleGeometry& g = s.geometry;
  const ConsoleBufferInfo info = console_work_info();
  const int32_t window_height = console_window_height();
  const bool whole_window = view_top() == 0 && view_bottom() == window_height - 1;
  ConsoleSinkData data{s.work_page, info.attribute, whole_window, info.size_y - 1 - g.window.bottom, 0,
                       info.size_x, info.size_y};
  if (data.rows_below < 0) data.rows_below = 0;
  TextSink sink{&data,
                scroll,
                put_chars,
                g.window.left,
                g.window.top + view_top(),
                g.window.left + console_window_width() - 1,
                g.window.top + view_bottom(),
                info.cursor_x,
                info.cursor_y};

  if (s.newline_pending) {
    s.newline_pending = false;
    sink.x = sink.left;
    ++sink.y;
    text_engine_scroll_into_window(&sink);
  }
  if (length > 0) text_engine_write(&sink, bytes, length, TEXT_LINE_FEED_RETURNS);
  if (sink.x == sink.left && sink.y == sink.bottom + 1) {
    // Text that ended on the window's last cell waits for the next print to scroll.
    s.newline_pending = true;
    sink.x = sink.right;
    sink.y = sink.bottom;
  } else {
    text_engine_scroll_into_window(&sink);
  }

  console_io().set_cursor(s.work_page, sink.x, sink.y);
  if (data.window_moved > 0) {
    ConsoleRect window = g.window;
    window.top += data.window_moved;
    window.bottom += data.window_moved;
    console_io().set_window(s.work_page, window);
  }
  console_read_geometry();
}

// One byte per character, as on the graphics screen: units above 255 print "?", and a
// surrogate pair is one character.
void console_print_wide_text(const uint16_t* units, int32_t length, int32_t flags) {
  if (length > 0 && !units) return;
  uint8_t run[256];
  int32_t n = 0;
  for (int32_t i = 0; i < length; ++i) {
    const uint16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < length) ++i;
    run[n++] = u < 256 ? static_cast<uint8_t>(u) : '?';
    if (n == sizeof run) {
      console_print_text(run, n, 0);
      n = 0;
    }
  }
  if (n > 0 || length <= 0) console_print_text(run, n, n > 0 ? 0 : flags);
}

}  // namespace zv
