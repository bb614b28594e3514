#include "display/host/change_filter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/memory.h"

namespace zv {

namespace {

// Changed stretches of a row closer than this many pixels go as one: a transfer costs more
// than a few unchanged pixels.
constexpr int32_t JOIN_GAP_PIXELS = 8;
// A row with more stretches than this sends the rest as one.
constexpr int32_t SPANS_PER_ROW = 16;
// Stretches of successive rows join a rectangle when both ends lie this close to its own.
constexpr int32_t RECT_SLACK_PIXELS = 8;
// More rectangles than this cost more than one rectangle around all of them.
constexpr int32_t MAX_RECTS = 128;

uint64_t load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Whether bytes i .. i + 7 (or up to n) of a and b differ.
bool block_differs(const uint8_t* a, const uint8_t* b, int32_t i, int32_t n) {
  if (i + 8 <= n) return load64(a + i) != load64(b + i);
  return std::memcmp(a + i, b + i, static_cast<size_t>(n - i)) != 0;
}

// First and last differing byte within the block at i (which differs).
int32_t first_difference(const uint8_t* a, const uint8_t* b, int32_t i) {
  while (a[i] == b[i]) ++i;
  return i;
}
int32_t last_difference(const uint8_t* a, const uint8_t* b, int32_t i, int32_t n) {
  int32_t j = std::min(i + 8, n) - 1;
  while (a[j] == b[j]) --j;
  return j;
}

// Appends the changed stretches of one row (n bytes) as pixel spans; returns how many.
int32_t row_spans(const uint8_t* now, const uint8_t* shown, int32_t n, int32_t bytes_per_pixel, int32_t row,
                  RowSpan* out) {
  const int32_t gap = JOIN_GAP_PIXELS * bytes_per_pixel;
  int32_t count = 0, i = 0;
  while (i < n) {
    while (i < n && !block_differs(now, shown, i, n)) i += 8;
    if (i >= n) break;
    const int32_t start = first_difference(now, shown, i);
    int32_t last = last_difference(now, shown, i, n);
    for (i += 8; i < n; i += 8) {
      if (block_differs(now, shown, i, n)) {
        last = last_difference(now, shown, i, n);
      } else if (i + 8 - (last + 1) > gap) {
        break;
      }
    }
    const int32_t x0 = start / bytes_per_pixel, x1 = last / bytes_per_pixel + 1;
    if (count == SPANS_PER_ROW) {
      out[count - 1].x1 = x1;
    } else {
      out[count++] = RowSpan{row, x0, x1};
    }
  }
  return count;
}

// Groups spans (by row, then x) into rectangles; falls back to one around all of them.
int32_t group_spans(const RowSpan* spans, int32_t span_count, PictureRect* rects) {
  int32_t count = 0;
  for (int32_t s = 0; s < span_count; ++s) {
    const RowSpan& span = spans[s];
    PictureRect* joined = nullptr;
    for (int32_t r = count - 1; r >= 0 && !joined; --r) {
      PictureRect& rect = rects[r];
      if (rect.y + rect.height != span.row) continue;  // ends above, or already took a span of this row
      if (std::abs(span.x0 - rect.x) <= RECT_SLACK_PIXELS &&
          std::abs(span.x1 - (rect.x + rect.width)) <= RECT_SLACK_PIXELS) {
        joined = &rect;
      }
    }
    if (joined) {
      const int32_t x0 = std::min(joined->x, span.x0), x1 = std::max(joined->x + joined->width, span.x1);
      *joined = PictureRect{x0, joined->y, x1 - x0, joined->height + 1};
    } else if (count < MAX_RECTS) {
      rects[count++] = PictureRect{span.x0, span.row, span.x1 - span.x0, 1};
    } else {
      int32_t x0 = spans[0].x0, x1 = spans[0].x1;
      for (int32_t k = 1; k < span_count; ++k) {
        x0 = std::min(x0, spans[k].x0);
        x1 = std::max(x1, spans[k].x1);
      }
      const int32_t top = spans[0].row, bottom = spans[span_count - 1].row + 1;
      rects[0] = PictureRect{x0, top, x1 - x0, bottom - top};
      return 1;
    }
  }
  return count;
}

// Without filtering: every flagged row whole, sent as one band from the first to the last.
int32_t pass_flagged_rows(ChangeFilter* f, const GraphicsState& gs) {
  f->span_count = 0;
  f->rect_count = 0;
  int32_t first = -1, last = -1;
  for (int32_t y = 0; y < gs.height; ++y) {
    if (!gs.dirty[y]) continue;
    f->spans[f->span_count++] = RowSpan{y, 0, gs.width};
    if (first < 0) first = y;
    last = y;
  }
  if (first < 0) return 0;
  f->rects[0] = PictureRect{0, first, gs.width, last - first + 1};
  f->rect_count = 1;
  return 1;
}

bool matches(const ChangeFilter& f, const GraphicsState& gs) {
  return f.width == gs.width && f.height == gs.height && f.bytes_per_pixel == gs.bytes_per_pixel;
}

}  // namespace

bool change_filter_open(ChangeFilter* f, const GraphicsState& gs, bool enabled) {
  change_filter_close(f);
  if (gs.width <= 0 || gs.height <= 0 || gs.bytes_per_pixel <= 0) return false;
  f->width = gs.width;
  f->height = gs.height;
  f->bytes_per_pixel = gs.bytes_per_pixel;
  f->row_bytes = gs.width * gs.bytes_per_pixel;
  const size_t rows = static_cast<size_t>(gs.height);
  f->spans = static_cast<RowSpan*>(platform::mem_malloc(sizeof(RowSpan) * rows * SPANS_PER_ROW));
  f->rects = static_cast<PictureRect*>(platform::mem_malloc(sizeof(PictureRect) * MAX_RECTS));
  if (!f->spans || !f->rects) {
    change_filter_close(f);
    return false;
  }
  if (enabled) {
    f->shown = static_cast<uint8_t*>(platform::mem_malloc(rows * static_cast<size_t>(f->row_bytes)));
    f->known = static_cast<uint8_t*>(platform::mem_calloc(rows, 1));
  }
  f->enabled = enabled && f->shown && f->known;
  return true;
}

void change_filter_close(ChangeFilter* f) {
  std::free(f->shown);
  std::free(f->known);
  std::free(f->spans);
  std::free(f->rects);
  *f = ChangeFilter{};
}

void change_filter_forget(ChangeFilter* f) {
  if (f->known) std::memset(f->known, 0, static_cast<size_t>(f->height));
  f->palette_known = false;
}

int32_t change_filter_collect(ChangeFilter* f, const GraphicsState& gs) {
  f->span_count = f->rect_count = 0;
  if (!gs.dirty || !gs.visible_buffer || gs.width <= 0 || gs.height <= 0) return 0;
  if (!matches(*f, gs) && !change_filter_open(f, gs, f->enabled)) return 0;
  if (!f->enabled || gs.pitch < f->row_bytes) return pass_flagged_rows(f, gs);

  // An indexed page shows its palette's colours: new colours are a change of every row.
  bool every_row = false;
  if (gs.bytes_per_pixel == 1 && gs.device_palette) {
    if (!f->palette_known || std::memcmp(f->palette, gs.device_palette, sizeof f->palette) != 0) {
      change_filter_forget(f);
      std::memcpy(f->palette, gs.device_palette, sizeof f->palette);
      f->palette_known = true;
      every_row = true;
    }
  }
  f->span_count = 0;
  for (int32_t y = 0; y < gs.height; ++y) {
    if (!gs.dirty[y] && !every_row) continue;
    const uint8_t* now = gs.visible_buffer + static_cast<intptr_t>(y) * gs.pitch;
    uint8_t* shown = f->shown + static_cast<intptr_t>(y) * f->row_bytes;
    if (!f->known[y]) {
      std::memcpy(shown, now, static_cast<size_t>(f->row_bytes));
      f->known[y] = 1;
      f->spans[f->span_count++] = RowSpan{y, 0, gs.width};
      continue;
    }
    if (std::memcmp(now, shown, static_cast<size_t>(f->row_bytes)) == 0) continue;
    RowSpan* spans = f->spans + f->span_count;
    const int32_t count = row_spans(now, shown, f->row_bytes, f->bytes_per_pixel, y, spans);
    for (int32_t k = 0; k < count; ++k) {
      const size_t offset = static_cast<size_t>(spans[k].x0) * f->bytes_per_pixel;
      std::memcpy(shown + offset, now + offset, static_cast<size_t>(spans[k].x1 - spans[k].x0) * f->bytes_per_pixel);
    }
    f->span_count += count;
  }
  f->rect_count = group_spans(f->spans, f->span_count, f->rects);
  return f->rect_count;
}

void send_collected(const ChangeFilter* f, const GraphicsState& gs, const ChangeTarget& target) {
  if (f->rect_count == 0) return;
  if (target.convert && target.pixels) target.convert(target.pixels, target.pitch, f->spans, f->span_count);
  const int32_t repeat = std::max(gs.scanline_size, 1);
  for (int32_t r = 0; r < f->rect_count; ++r) {
    const PictureRect& rect = f->rects[r];
    if (target.send) target.send(PictureRect{rect.x, rect.y * repeat, rect.width, rect.height * repeat}, target.context);
  }
}

int32_t send_changes(ChangeFilter* f, const GraphicsState& gs, const ChangeTarget& target) {
  const int32_t count = change_filter_collect(f, gs);
  send_collected(f, gs, target);
  return count;
}

}  // namespace zv
