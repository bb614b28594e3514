#include "saver_reference.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/screensaver.h"
#include "gfx/text/fonts.h"
#include "runtime/random_timer.h"

namespace morv::test {

namespace {

constexpr uint32_t BACKGROUND = 0xFF000000u;
constexpr int32_t CELL_W = 8;
constexpr int32_t CELL_H = 16;
constexpr int32_t TEXT_ROWS = 25;

int32_t draw_upto(int32_t n) {
  return static_cast<int32_t>(std::floor(zv::rnd(1.0f) * static_cast<long double>(n))) + 1;
}

void xor_tower(Page& page, const Tower& tower, int32_t left, int32_t top) {
  for (int32_t ty = 0; ty < tower.height; ++ty) {
    const int32_t y = top + ty;
    if (y < 0 || y >= Page::HEIGHT) continue;
    for (int32_t tx = 0; tx < tower.width; ++tx) {
      const int32_t x = left + tx;
      if (x < 0 || x >= Page::WIDTH) continue;
      page.pixels[y * Page::WIDTH + x] ^= tower.pixels[ty * tower.width + tx];
    }
  }
}

void print_at(Page& page, int32_t row, int32_t column, const char* text, uint32_t colour) {
  const zv::FontInfo& font = zv::font_8x16;
  const int32_t top = (row - 1) * CELL_H;
  for (int32_t i = 0; text[i]; ++i) {
    const uint8_t* glyph = font.glyphs + static_cast<uint8_t>(text[i]) * CELL_H;
    const int32_t left = (column - 1 + i) * CELL_W;
    for (int32_t r = 0; r < CELL_H; ++r)
      for (int32_t b = 0; b < CELL_W; ++b)
        page.pixels[(top + r) * Page::WIDTH + left + b] = (glyph[r] >> b & 1) ? colour : BACKGROUND;
  }
}

// The line end after text on the bottom row moves everything up one text row.
void scroll_one_row(Page& page) {
  std::memmove(page.pixels.data(), page.pixels.data() + CELL_H * Page::WIDTH,
               sizeof(uint32_t) * (Page::HEIGHT - CELL_H) * Page::WIDTH);
  std::fill(page.pixels.end() - CELL_H * Page::WIDTH, page.pixels.end(), BACKGROUND);
}

void turn_at_limits(int32_t* position, int32_t* step, int32_t low, int32_t high) {
  *position += *step;
  if (*position < low || *position > high) *step = -*step;
}

}  // namespace

int32_t model_colour_step(int32_t colour, long double draw) {
  int64_t doubled = int64_t{colour} * 2;
  if (doubled > INT32_MAX) doubled -= int64_t{1} << 32;
  if (doubled < INT32_MIN) doubled += int64_t{1} << 32;
  const long long rounded = std::llrint(static_cast<long double>(doubled) + draw * 4.0L);
  return rounded > INT32_MAX ? INT32_MIN : static_cast<int32_t>(rounded);
}

SaverModel::SaverModel(double seed) {
  zv::randomize(seed, 0);
  row_ = setup_row_ = draw_upto(25);
  period_ = setup_period_ = draw_upto(300);
  colour_ = setup_colour_ = static_cast<int32_t>(std::llrint(0x1FE000 + zv::rnd(1.0f) * 4.0L));
  text_colour_ = colour_;
}

ModelFrame SaverModel::next() {
  ModelFrame frame{};
  if (++frame_ == 1) {
    x_ = draw_upto(200);
    y_ = draw_upto(200);
  } else {
    turn_at_limits(&x_, &dx_, 1, 587);
    turn_at_limits(&y_, &dy_, 1, 332);
  }
  if (frame_ == 1) {
    y2_ = draw_upto(300);
    x2_ = draw_upto(100);
  }
  frame.x = x_;
  frame.y = y_;
  frame.put_x2 = x2_;
  frame.put_y2 = y2_;
  x2_ = y_;
  y2_ = x_;
  colour_ = model_colour_step(colour_, zv::rnd(1.0f));
  if (++counter_ == period_) {
    row_ = draw_upto(25);
    text_colour_ = colour_;
    counter_ = 0;
    period_ = draw_upto(300);
  }
  frame.colour = colour_;
  frame.text_colour = text_colour_;
  frame.row = row_;
  frame.period = period_;
  frame.counter = counter_;
  return frame;
}

Page expected_page(const ModelFrame& frame, const Tower& tower) {
  Page page;
  std::fill(page.pixels.begin(), page.pixels.end(), BACKGROUND);
  xor_tower(page, tower, frame.x, frame.y);
  xor_tower(page, tower, frame.put_x2, frame.put_y2);
  print_at(page, frame.row, CREDIT_COLUMN, CREDIT, static_cast<uint32_t>(frame.text_colour));
  if (frame.row == TEXT_ROWS) scroll_one_row(page);
  return page;
}

Page read_page(const uint8_t* pixels, int32_t pitch) {
  Page page;
  for (int32_t y = 0; y < Page::HEIGHT; ++y)
    std::memcpy(&page.pixels[y * Page::WIDTH], pixels + static_cast<ptrdiff_t>(y) * pitch,
                sizeof(uint32_t) * Page::WIDTH);
  return page;
}

int64_t count_differences(const Page& a, const Page& b, int32_t* first_x, int32_t* first_y) {
  int64_t count = 0;
  for (int32_t i = 0; i < Page::WIDTH * Page::HEIGHT; ++i) {
    if (a.pixels[i] == b.pixels[i]) continue;
    if (count++ == 0) {
      *first_x = i % Page::WIDTH;
      *first_y = i / Page::WIDTH;
    }
  }
  return count;
}

uint64_t fnv1a(const uint8_t* bytes, size_t count) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (size_t i = 0; i < count; ++i) {
    hash ^= bytes[i];
    hash *= 0x100000001B3ull;
  }
  return hash;
}

}  // namespace morv::test
