// Printing on the graphics screen: glyphs drawn opaque into the work page and recorded in
// its text cells, with the text window scrolled as the engine asks.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "gfx/core/auto_lock.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/core/screen.h"
#include "gfx/text/fonts.h"
#include "gfx/text/graphics_text.h"
#include "gfx/text/text_engine.h"
#include "gfx/text/text_internal.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

constexpr uint8_t UNDERLINE_CURSOR = 255;  // printed alone it draws only the cell's bottom row

struct ScreenSink {
  DrawContext* context;
  GraphicsState* gs;
  int32_t dirty_first, dirty_end;  // pixel rows touched, end exclusive; equal means none
};

ScreenSink* screen_of(TextSink* sink) { return static_cast<ScreenSink*>(sink->owner); }

void touch_rows(ScreenSink* screen, int64_t first, int64_t end) {
  first = std::max<int64_t>(first, 0);
  end = std::min<int64_t>(end, screen->gs->height);
  if (first >= end) return;
  if (screen->dirty_first == screen->dirty_end) {
    screen->dirty_first = static_cast<int32_t>(first);
    screen->dirty_end = static_cast<int32_t>(end);
    return;
  }
  screen->dirty_first = std::min(screen->dirty_first, static_cast<int32_t>(first));
  screen->dirty_end = std::max(screen->dirty_end, static_cast<int32_t>(end));
}

// The part of the cell at (px, py) that lies on the screen is drawn; the rest is dropped.
void draw_glyph(DrawContext* context, const GraphicsState* gs, const FontInfo* font, uint8_t code, int64_t px,
                int64_t py) {
  const int32_t row_bytes = (font->width + 7) / 8;
  const uint8_t* glyph = font->glyphs + static_cast<size_t>(code) * font->height * row_bytes;
  const uint32_t fg = context->fg_colour, bg = context->bg_colour;
  for (int32_t r = 0; r < font->height; ++r, glyph += row_bytes) {
    const int64_t y = py + r;
    if (y < 0 || y >= gs->height) continue;
    for (int32_t column = 0; column < font->width; ++column) {
      const int64_t x = px + column;
      if (x < 0 || x >= gs->width) continue;
      const uint8_t mask = static_cast<uint8_t>(1u << (column & 7));
      context->put_pixel(context, static_cast<int32_t>(x), static_cast<int32_t>(y),
                         (glyph[column >> 3] & mask) ? fg : bg);
    }
  }
}

// Glyph rows written straight into the row table: the same pixels the plain put_pixel
// would store, without a call per pixel. Callers make sure the whole cell is on the screen.
template <class Pixel>
void draw_glyph_rows(uint8_t* const* rows, const uint8_t* glyph, int32_t height, int32_t px, int32_t py,
                     uint32_t fg, uint32_t bg) {
  const Pixel on = static_cast<Pixel>(fg), off = static_cast<Pixel>(bg);
  for (int32_t r = 0; r < height; ++r) {
    Pixel* out = reinterpret_cast<Pixel*>(rows[py + r]) + px;
    const uint8_t bits = glyph[r];
    for (int32_t column = 0; column < 8; ++column) out[column] = (bits >> column) & 1 ? on : off;
  }
}

using GlyphRowsFn = void (*)(uint8_t* const*, const uint8_t*, int32_t, int32_t, int32_t, uint32_t, uint32_t);

// The direct writer for the context's depth, or null when glyphs must go through put_pixel
// (a blending writer is installed, the font is not 8 pixels wide, or the cell is clipped).
GlyphRowsFn direct_glyph_writer(const DrawContext* context, const GraphicsState* gs, const FontInfo* font,
                                int64_t px, int64_t py, int32_t count) {
  if (context->put_pixel != depth_ops.put_pixel || font->width != 8) return nullptr;
  if (px < 0 || py < 0 || px + int64_t{count} * 8 > gs->width || py + font->height > gs->height) return nullptr;
  switch (context->bytes_per_pixel) {
    case 1: return draw_glyph_rows<uint8_t>;
    case 2: return draw_glyph_rows<uint16_t>;
    case 4: return draw_glyph_rows<uint32_t>;
    default: return nullptr;
  }
}

void draw_underline(DrawContext* context, const GraphicsState* gs, const FontInfo* font, int64_t px, int64_t py) {
  const int64_t y = py + font->height - 1;
  if (y < 0 || y >= gs->height) return;
  for (int32_t column = 0; column < font->width; ++column) {
    const int64_t x = px + column;
    if (x >= 0 && x < gs->width) context->put_pixel(context, static_cast<int32_t>(x), static_cast<int32_t>(y), context->fg_colour);
  }
}

int32_t put_screen_chars(TextSink* sink, const uint8_t* bytes, int32_t count) {
  ScreenSink* screen = screen_of(sink);
  DrawContext* context = screen->context;
  const GraphicsState* gs = screen->gs;
  const FontInfo* font = gs->font;
  const int64_t px = int64_t{sink->x} * font->width, py = int64_t{sink->y} * font->height;
  if (count == 1 && bytes[0] == UNDERLINE_CURSOR) {
    draw_underline(context, gs, font, px, py);
  } else {
    if (GlyphRowsFn write = direct_glyph_writer(context, gs, font, px, py, count)) {
      for (int32_t i = 0; i < count; ++i)
        write(context->rows, font->glyphs + size_t{bytes[i]} * font->height, font->height,
              static_cast<int32_t>(px) + i * 8, static_cast<int32_t>(py), context->fg_colour, context->bg_colour);
    } else {
      for (int32_t i = 0; i < count; ++i) draw_glyph(context, gs, font, bytes[i], px + int64_t{i} * font->width, py);
    }
  }
  touch_rows(screen, py, py + font->height);

  CharCell* cells = work_cells(gs, context);
  if (cells && sink->y >= 0 && sink->y < gs->text_h) {
    CharCell* row = cells + static_cast<size_t>(sink->y) * gs->text_w;
    for (int32_t i = 0; i < count; ++i) {
      const int64_t x = int64_t{sink->x} + i;
      if (x >= 0 && x < gs->text_w) row[x] = {bytes[i], context->fg_colour, context->bg_colour};
    }
  }
  return 1;
}

void scroll_screen(TextSink* sink, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t lines) {
  ScreenSink* screen = screen_of(sink);
  DrawContext* context = screen->context;
  GraphicsState* gs = screen->gs;
  const int32_t h = gs->font->height;
  sink->y = bottom;
  if (lines <= 0 || bottom < top) return;

  const int64_t first_row = std::max<int64_t>(int64_t{top} * h, 0);
  const int64_t end_row = std::min<int64_t>((int64_t{bottom} + 1) * h, gs->height);
  const int64_t shift = int64_t{lines} * h;
  const int32_t pixels = static_cast<int32_t>(
      std::clamp<int64_t>((int64_t{right} - left + 1) * gs->font->width, 0, gs->width));
  int64_t y = first_row;
  if (shift < end_row - first_row)
    for (; y + shift < end_row; ++y) depth_ops.copy_pixels(context->rows[y], context->rows[y + shift], pixels);
  for (; y < end_row; ++y) context->fill_span(context->rows[y], context->bg_colour, pixels);
  touch_rows(screen, first_row, end_row);

  CharCell* cells = work_cells(gs, context);
  if (!cells) return;
  const int32_t window_rows = bottom - top + 1;
  int32_t blank_from = top;
  if (lines < window_rows) {
    const size_t row_cells = static_cast<size_t>(gs->text_w);
    std::memmove(cells + top * row_cells, cells + (top + lines) * row_cells,
                 static_cast<size_t>(window_rows - lines) * row_cells * sizeof(CharCell));
    blank_from = bottom - lines + 1;
  }
  fill_char_cells(0, blank_from, gs->text_w, bottom + 1, context->work_page, ' ', context->fg_colour,
                  context->bg_colour);
}

}  // namespace

void text_window_rows(const GraphicsState* gs, int32_t* top, int32_t* bottom) {
  *top = std::clamp(view_top(), 0, std::max(gs->text_h - 1, 0));
  *bottom = std::clamp(view_bottom(), *top, std::max(gs->text_h - 1, 0));
}

void gfx_print_text(const uint8_t* bytes, int32_t length, int32_t flags) {
  if (length < 0 || (length > 0 && !bytes)) return;
  if (length == 0 && !(flags & PRINT_NEWLINE_ONLY)) return;
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context || !gs->font || gs->text_w <= 0 || gs->text_h <= 0) return;
  select_target(context, nullptr);
  select_pixel_ops(context, 0xFF000000u);  // text is always opaque
  auto_lock(gs);

  ScreenSink screen{context, gs, 0, 0};
  TextSink sink{&screen, scroll_screen, put_screen_chars, 0, 0, gs->text_w - 1, 0, gs->cursor_x, gs->cursor_y};
  text_window_rows(gs, &sink.top, &sink.bottom);
  if (gs->flags & GS_NEWLINE_PENDING) {
    gs->flags &= ~GS_NEWLINE_PENDING;
    sink.x = sink.left;
    ++sink.y;
    text_engine_scroll_into_window(&sink);
  }
  text_engine_write(&sink, bytes, length, TEXT_LINE_FEED_RETURNS);
  // Text that ends exactly at the end of the window's last row waits for the next print
  // before scrolling, so a full bottom row stays on the screen.
  if (sink.x == sink.left && sink.y == sink.bottom + 1) {
    gs->flags |= GS_NEWLINE_PENDING;
    sink.x = sink.right;
    sink.y = sink.bottom;
  } else {
    text_engine_scroll_into_window(&sink);
  }
  gs->cursor_x = sink.x;
  gs->cursor_y = sink.y;

  if (work_page_visible(gs, context) && screen.dirty_first < screen.dirty_end)
    mark_dirty(gs, screen.dirty_first, screen.dirty_end - 1);
  auto_unlock(gs);
}

void gfx_print_wide_text(const uint16_t* units, int32_t length, int32_t flags) {
  if (length < 0 || (length > 0 && !units)) return;
  if (length == 0) {
    gfx_print_text(nullptr, 0, flags);
    return;
  }
  // Converted a chunk at a time; printing in pieces gives the same screen as in one go,
  // as long as no piece is a lone 255 (which would draw the underline cursor). A chunk is
  // cut only with two or more units left, and two units give two bytes or one "?".
  uint8_t bytes[TEXT_RUN_LIMIT];
  int32_t count = 0;
  for (int32_t i = 0; i < length; ++i) {
    const uint16_t unit = units[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length) ++i;  // a surrogate pair is one character
    bytes[count++] = unit < 256 ? static_cast<uint8_t>(unit) : '?';
    if (count >= TEXT_RUN_LIMIT - 1 && length - i - 1 >= 2) {
      gfx_print_text(bytes, count, flags);
      count = 0;
    }
  }
  if (count > 0) gfx_print_text(bytes, count, flags);
}

}  // namespace zv
