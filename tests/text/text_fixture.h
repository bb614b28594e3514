// A null-driver screen for the text tests, with ways to read back cells and pixels and a
// key script that is fed into the key ring whenever the program under test pauses.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>

#include "gfx/core/screen.h"
#include "gfx/text/fonts.h"
#include "gfx/text/graphics_text.h"
#include "input/keys.h"
#include "runtime/random_timer.h"
#include "runtime/runtime.h"

namespace text_test {

constexpr int32_t KEY_LEFT = 0x4BFF;
constexpr int32_t KEY_RIGHT = 0x4DFF;
constexpr int32_t KEY_HOME = 0x47FF;
constexpr int32_t KEY_END = 0x4FFF;
constexpr int32_t KEY_UP = 0x48FF;
constexpr int32_t KEY_DOWN = 0x50FF;
constexpr int32_t KEY_DELETE = 0x53FF;

inline std::deque<int32_t> key_script;
inline int32_t pauses = 0;

// Each pause of the program posts the next scripted key; an exhausted script posts Enter
// (after many pauses, so that a test that forgot its Enter ends instead of hanging).
inline void feed_key_on_pause(int32_t) {
  ++pauses;
  if (!key_script.empty()) {
    zv::post_key(key_script.front());
    key_script.pop_front();
  } else if (pauses > 100000) {
    zv::post_key(13);
  }
}

class TextTest : public testing::Test {
 protected:
  void SetUp() override { open(17, 32); }
  void TearDown() override {
    zv::screen_exit_handler();
    zv::set_sleep_function(nullptr);
    zv::key_ring = zv::KeyRing{};
    key_script.clear();
  }

  void open(int32_t mode, int32_t depth) {
    zv::screen_exit_handler();
    ASSERT_EQ(zv::screen_set_mode(mode, depth, 0, zv::SCREEN_NULL, 0), 0);
    ASSERT_NE(gs(), nullptr);
    zv::key_ring = zv::KeyRing{};
    key_script.clear();
    pauses = 0;
    zv::set_sleep_function(feed_key_on_pause);
  }

  static zv::GraphicsState* gs() { return zv::current_screen; }
  static zv::DrawContext* context() { return zv::get_draw_context(); }

  static void print(const std::string& text, int32_t flags = 0) {
    zv::print_text(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int32_t>(text.size()), flags);
  }
  // 1-based, as the statements count.
  static int32_t row() { return gs()->cursor_y + 1; }
  static int32_t column() { return gs()->cursor_x + 1; }
  static bool pending() { return (gs()->flags & zv::GS_NEWLINE_PENDING) != 0; }
  static int32_t cell(int32_t col, int32_t r) { return zv::gfx_read_cell(col, r, 0); }
  // The characters of cells first..last of a row.
  static std::string cells(int32_t r, int32_t first, int32_t last) {
    std::string s;
    for (int32_t c = first; c <= last; ++c) s += static_cast<char>(cell(c, r));
    return s;
  }
  static uint32_t pixel(int32_t x, int32_t y) {
    const uint8_t* p = gs()->pages[0] + static_cast<size_t>(y) * gs()->pitch + static_cast<size_t>(x) * gs()->bytes_per_pixel;
    uint32_t v = 0;
    std::memcpy(&v, p, static_cast<size_t>(gs()->bytes_per_pixel));
    return v;
  }
  // Whether the cell (1-based) shows the glyph of code in fg on bg, pixel for pixel.
  static bool shows_glyph(int32_t col, int32_t r, uint8_t code, uint32_t fg, uint32_t bg) {
    const zv::FontInfo* font = gs()->font;
    const uint8_t* glyph = font->glyphs + static_cast<size_t>(code) * font->height;
    for (int32_t y = 0; y < font->height; ++y)
      for (int32_t x = 0; x < font->width; ++x) {
        const uint32_t want = (glyph[y] >> x) & 1 ? fg : bg;
        if (pixel((col - 1) * font->width + x, (r - 1) * font->height + y) != want) return false;
      }
    return true;
  }
  static void clear_dirty() { std::memset(gs()->dirty, 0, static_cast<size_t>(gs()->height)); }
  static int32_t dirty_count() {
    int32_t n = 0;
    for (int32_t y = 0; y < gs()->height; ++y) n += gs()->dirty[y] != 0;
    return n;
  }
};

}  // namespace text_test
