// What of the shown page really changed since the display last got it. The dirty flags say
// which rows were drawn; a drawn row often holds the same bytes as before (the saver clears
// the whole page every frame and draws the same picture back). The filter keeps a copy of
// what it passed on, and lets through only the stretches that differ, grouped into few
// rectangles for the transfer. It reads the flags and leaves them as they are.
#pragma once

#include <cstdint>

#include "display/blit/blit.h"
#include "gfx/core/graphics_state.h"

namespace zv {

// A rectangle of the page: pixels x .. x + width - 1 of rows y .. y + height - 1.
struct PictureRect {
  int32_t x, y, width, height;
};

struct ChangeFilter {
  bool enabled;            // false: every flagged row goes whole, in one band of rows
  uint8_t* shown;          // the page as last passed on, row_bytes per row
  uint8_t* known;          // per row: 1 while `shown` holds what the display shows
  RowSpan* spans;          // the changed stretches of the last collect, by row and then x
  PictureRect* rects;      // the rectangles that cover them
  int32_t span_count, rect_count;
  int32_t width, height, bytes_per_pixel, row_bytes;
  uint32_t palette[256];   // the palette an indexed page was last shown with
  bool palette_known;
};

// Sizes the filter for the screen; with `enabled` false, or when there is no memory for
// the copy, it passes every flagged row on whole. False when even that cannot be had.
bool change_filter_open(ChangeFilter* filter, const GraphicsState& gs, bool enabled);
void change_filter_close(ChangeFilter* filter);
// The display no longer shows what was passed on (a new window or surface): the next
// flagged rows go whole.
void change_filter_forget(ChangeFilter* filter);

// Finds what changed among the rows flagged in the first `height` flags of dirty, fills
// spans and rects, and takes the changes as shown. A changed palette on an indexed page
// sends every row. Returns the number of rectangles.
int32_t change_filter_collect(ChangeFilter* filter, const GraphicsState& gs);

// Where one update's changes go: converted by `convert` (null when the display takes the
// page as it is) into `pixels` (pitch bytes per display row), then each rectangle, in
// display rows (page rows times scanline_size), handed to `send`.
struct ChangeTarget {
  SpanBlitFunction convert;
  uint8_t* pixels;
  int32_t pitch;
  void (*send)(const PictureRect& rect, void* context);
  void* context;
};

// collect, convert and send; returns the number of rectangles sent.
int32_t send_changes(ChangeFilter* filter, const GraphicsState& gs, const ChangeTarget& target);
// Converts and sends what the last collect found (for a caller that wants the count first).
void send_collected(const ChangeFilter* filter, const GraphicsState& gs, const ChangeTarget& target);

}  // namespace zv
