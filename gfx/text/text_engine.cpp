#include "gfx/text/text_engine.h"

#include "platform/platform.h"

namespace zv {

namespace {

constexpr int32_t TAB_WIDTH = 8;

// The printable bytes collected since the last control byte.
struct PendingRun {
  uint8_t bytes[TEXT_RUN_LIMIT];
  int32_t count = 0;
};

void write_run(TextSink* sink, PendingRun* run) {
  const uint8_t* next = run->bytes;
  int32_t remaining = run->count;
  run->count = 0;
  while (remaining > 0) {
    text_engine_scroll_into_window(sink);
    // A cursor right of the window (a sink built with an odd cursor) starts a new row.
    int32_t fit = sink->right - sink->x + 1;
    if (fit > remaining) fit = remaining;
    if (fit > 0) {
      if (sink->put_chars(sink, next, fit) != 1) return;
      next += fit;
      remaining -= fit;
      sink->x += fit;
    }
    if (sink->x > sink->right) {
      sink->x = sink->left;
      ++sink->y;
    }
  }
}

void append(TextSink* sink, PendingRun* run, uint8_t byte) {
  if (run->count == TEXT_RUN_LIMIT) write_run(sink, run);
  run->bytes[run->count++] = byte;
}

int32_t tab_spaces(const TextSink* sink) {
  int32_t offset = (sink->x - sink->left) % TAB_WIDTH;
  if (offset < 0) offset += TAB_WIDTH;
  return TAB_WIDTH - offset;
}

}  // namespace

void text_engine_scroll_into_window(TextSink* sink) {
  if (sink->bottom == -1 || sink->y <= sink->bottom) return;
  sink->scroll(sink, sink->left, sink->top, sink->right, sink->bottom, sink->y - sink->bottom);
  sink->y = sink->bottom;
}

void text_engine_write(TextSink* sink, const uint8_t* bytes, int32_t length, uint32_t options) {
  if (!sink || !bytes || length <= 0 || sink->right < sink->left) return;
  PendingRun run;
  bool last_was_movement = false;
  for (int32_t i = 0; i < length; ++i) {
    const uint8_t byte = bytes[i];
    const bool control = byte == 7 || byte == 8 || byte == 9 || byte == 10 || byte == 13;
    if (!control) {
      append(sink, &run, byte);
      last_was_movement = false;
      continue;
    }
    write_run(sink, &run);
    switch (byte) {
      case 7:
        platform::beep(1000, 250);
        break;
      case 8:
        if (sink->x > sink->left) --sink->x;
        last_was_movement = true;
        break;
      case 9:
        for (int32_t n = tab_spaces(sink); n > 0; --n) append(sink, &run, ' ');
        last_was_movement = false;
        break;
      case 10:
        ++sink->y;
        if (options & TEXT_LINE_FEED_RETURNS) sink->x = sink->left;
        last_was_movement = true;
        break;
      case 13:
        sink->x = sink->left;
        last_was_movement = true;
        break;
    }
  }
  if (run.count > 0) {
    write_run(sink, &run);
  } else if (last_was_movement) {
    text_engine_scroll_into_window(sink);
  }
}

}  // namespace zv
