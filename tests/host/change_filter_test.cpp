// What reaches the display through the change filter: the real saver's frames sent to
// recording displays set up as the X11 driver (converted, scaled) and the GDI driver
// (straight from the page, or converted) set them up, with the filter on and off.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "app/saver_harness.h"
#include "display/blit/widen.h"
#include "display/host/change_filter.h"
#include "gfx/core/graphics_state.h"

namespace zv {
namespace {

// A display that keeps what it was sent: the driver's conversion target, the scaled
// image (when scaled), and the screen that the rectangles were copied to.
struct RecordingDisplay {
  int32_t type = 32;        // surface type of the conversion; 0: the page goes as it is
  int32_t scale = 1;
  bool filtered = true;
  ChangeFilter filter{};
  SpanBlitFunction convert = nullptr;
  std::vector<uint8_t> converted, image, screen;
  int32_t bytes = 4, converted_pitch = 0, screen_pitch = 0;
  int64_t bytes_sent = 0;
  int32_t sends = 0;
  const GraphicsState* gs = nullptr;

  void open(const GraphicsState& state) {
    gs = &state;
    bytes = type == 0 ? state.bytes_per_pixel : type == 32 ? 4 : 2;
    converted_pitch = state.width * bytes;
    screen_pitch = converted_pitch * scale;
    converted.assign(static_cast<size_t>(converted_pitch) * state.height, 0);
    image.assign(static_cast<size_t>(screen_pitch) * state.height * scale, 0);
    screen.assign(image.size(), 0xEE);
    convert = type ? choose_span_blitter(type, 0) : nullptr;
    ASSERT_TRUE(change_filter_open(&filter, state, filtered));
    ASSERT_EQ(filter.enabled, filtered);
  }
  ~RecordingDisplay() { change_filter_close(&filter); }

  const uint8_t* rows(int32_t* pitch) const {
    if (type == 0) {
      *pitch = gs->pitch;
      return gs->visible_buffer;
    }
    *pitch = converted_pitch;
    return converted.data();
  }

  static void send(const PictureRect& r, void* context) {
    auto& d = *static_cast<RecordingDisplay*>(context);
    int32_t pitch = 0;
    const uint8_t* from = d.rows(&pitch);
    const int32_t s = d.scale;
    const uint8_t* shown = from;
    int32_t shown_pitch = pitch;
    if (s > 1) {
      widen_rows(from + intptr_t{r.y} * pitch + intptr_t{r.x} * d.bytes, pitch,
                 d.image.data() + intptr_t{r.y} * s * d.screen_pitch + intptr_t{r.x} * s * d.bytes, d.screen_pitch,
                 r.width, r.height, d.bytes, s);
      shown = d.image.data();
      shown_pitch = d.screen_pitch;
    }
    for (int32_t y = r.y * s; y < (r.y + r.height) * s; ++y)
      std::memcpy(d.screen.data() + intptr_t{y} * d.screen_pitch + intptr_t{r.x} * s * d.bytes,
                  shown + intptr_t{y} * shown_pitch + intptr_t{r.x} * s * d.bytes,
                  static_cast<size_t>(r.width) * s * d.bytes);
    d.bytes_sent += int64_t{r.width} * s * r.height * s * d.bytes;
    ++d.sends;
  }

  void update() {
    send_changes(&filter, *gs, ChangeTarget{convert, converted.data(), converted_pitch, send, this});
  }
};

// The page converted whole and scaled, as the screen must show it.
std::vector<uint8_t> expected_screen(const GraphicsState& gs, const RecordingDisplay& like) {
  RecordingDisplay d;
  d.type = like.type;
  d.scale = like.scale;
  d.filtered = false;
  d.open(gs);
  std::vector<uint8_t> saved(gs.dirty, gs.dirty + gs.height);
  std::fill(gs.dirty, gs.dirty + gs.height, 1);
  d.update();
  std::copy(saved.begin(), saved.end(), gs.dirty);
  return d.screen;
}

struct DisplaySetup {
  const char* name;
  int32_t type, scale;
};
// X11: converted into the image, at full-screen scales 1, 2 and 5; GDI: straight from
// the page, or converted into its buffer.
constexpr DisplaySetup SETUPS[] = {{"x11", 32, 1}, {"x11 scaled", 32, 2}, {"x11 scaled 5", 32, 5},
                            {"gdi", 0, 1},  {"gdi converted", 15, 1}};

TEST(ChangeFilter, SaverFramesReachTheDisplayAlikeWithAndWithoutTheFilter) {
  for (const DisplaySetup& setup : SETUPS) {
    RecordingDisplay on, off;
    on.type = off.type = setup.type;
    on.scale = off.scale = setup.scale;
    off.filtered = false;
    int32_t checked = 0;
    morv::HarnessOptions options;
    options.seed = 4242;
    options.frames = setup.scale == 5 ? 12 : 60;
    options.on_frame = [&](const morv::HarnessFrame& frame) {
      GraphicsState* gs = graphics_state();
      ASSERT_NE(gs, nullptr);
      if (frame.number == 1) {
        on.open(*gs);
        off.open(*gs);
      }
      on.update();
      off.update();
      ASSERT_EQ(on.screen, off.screen) << setup.name << ", frame " << frame.number;
      if (frame.number % 10 == 1) {
        ASSERT_EQ(on.screen, expected_screen(*gs, on)) << setup.name << ", frame " << frame.number;
      }
      std::fill(gs->dirty, gs->dirty + gs->height * gs->scanline_size, 0);  // as the drivers do
      ++checked;
    };
    morv::run_saver(options);
    EXPECT_EQ(checked, options.frames) << setup.name;
    // The saver redraws the whole page each frame, but only the towers move.
    EXPECT_LT(on.bytes_sent * 8, off.bytes_sent) << setup.name;
  }
}

// A small indexed screen of our own.
struct IndexedScreen {
  GraphicsState gs{};
  std::vector<uint8_t> page, dirty;
  std::vector<uint32_t> palette = std::vector<uint32_t>(256);
  IndexedScreen(int32_t width, int32_t height) {
    page.assign(static_cast<size_t>(width) * height, 0);
    dirty.assign(static_cast<size_t>(height), 0);
    gs.depth = 8;
    gs.bytes_per_pixel = 1;
    gs.width = width;
    gs.height = height;
    gs.pitch = width;
    gs.scanline_size = 1;
    gs.visible_buffer = page.data();
    gs.dirty = dirty.data();
    gs.device_palette = palette.data();
    current_screen = &gs;
  }
  ~IndexedScreen() { current_screen = nullptr; }
};

TEST(ChangeFilter, PaletteChangeResendsEveryRowOfAnIndexedPage) {
  IndexedScreen s(40, 12);
  for (size_t i = 0; i < s.page.size(); ++i) s.page[i] = static_cast<uint8_t>(i % 7);
  for (uint32_t i = 0; i < 256; ++i) s.palette[i] = i * 0x010203u;
  RecordingDisplay d;
  d.open(s.gs);
  std::fill(s.dirty.begin(), s.dirty.end(), 1);
  d.update();
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  const int64_t whole = d.bytes_sent;
  EXPECT_EQ(whole, 40 * 12 * 4);

  // Same bytes, flagged: nothing goes.
  std::fill(s.dirty.begin(), s.dirty.end(), 1);
  d.update();
  EXPECT_EQ(d.bytes_sent, whole);

  // One new colour, no row flagged: every row goes again, with the new colour.
  s.palette[3] = 0x00FF00;
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  d.update();
  EXPECT_EQ(d.bytes_sent, 2 * whole);
  EXPECT_EQ(d.screen, expected_screen(s.gs, d));
}

TEST(ChangeFilter, OnlyChangedStretchesOfFlaggedRowsGo) {
  IndexedScreen s(300, 20);
  RecordingDisplay d;
  d.open(s.gs);
  std::fill(s.dirty.begin(), s.dirty.end(), 1);
  d.update();
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  const int64_t first = d.bytes_sent;

  // Two short marks far apart in rows 5 to 9, and a change in row 15 that is not flagged.
  for (int32_t y = 5; y < 10; ++y) {
    s.page[y * 300 + 10] = 1;
    s.page[y * 300 + 250] = 2;
    s.dirty[y] = 1;
  }
  s.page[15 * 300 + 100] = 3;
  ASSERT_EQ(change_filter_collect(&d.filter, s.gs), 2);
  EXPECT_EQ(d.filter.span_count, 10);
  for (int32_t r = 0; r < 2; ++r) {
    EXPECT_EQ(d.filter.rects[r].y, 5);
    EXPECT_EQ(d.filter.rects[r].height, 5);
    EXPECT_EQ(d.filter.rects[r].width, 1);
  }
  EXPECT_EQ(d.filter.rects[0].x, 10);
  EXPECT_EQ(d.filter.rects[1].x, 250);
  // Taken as shown: the same flags again find nothing.
  EXPECT_EQ(change_filter_collect(&d.filter, s.gs), 0);
  // Flagging row 15 later sends its change.
  s.dirty[15] = 1;
  d.update();
  EXPECT_EQ(d.bytes_sent - first, 4);
  // After forgetting, flagged rows go whole.
  change_filter_forget(&d.filter);
  std::fill(s.dirty.begin(), s.dirty.end(), 0);
  s.dirty[0] = 1;
  EXPECT_EQ(change_filter_collect(&d.filter, s.gs), 1);
  EXPECT_EQ(d.filter.rects[0].width, 300);
}

// Random changes in random rows: every changed pixel of a flagged row lies in a sent
// rectangle, and the screen equals the page converted whole.
TEST(ChangeFilter, RandomChangesAllArrive) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    IndexedScreen s(static_cast<int32_t>(1 + rng() % 500), static_cast<int32_t>(1 + rng() % 40));
    for (auto& p : s.palette) p = rng() & 0xFFFFFF;
    RecordingDisplay d;
    d.scale = 1 + static_cast<int32_t>(seed % 3);
    d.open(s.gs);
    for (int32_t round = 0; round < 12; ++round) {
      const int32_t changes = static_cast<int32_t>(rng() % 400);
      for (int32_t i = 0; i < changes; ++i) s.page[rng() % s.page.size()] = static_cast<uint8_t>(rng());
      std::fill(s.dirty.begin(), s.dirty.end(), 1);
      d.update();
      ASSERT_EQ(d.screen, expected_screen(s.gs, d)) << "seed " << seed << " round " << round;
      std::fill(s.dirty.begin(), s.dirty.end(), 0);
    }
  }
}

TEST(ChangeFilter, WithoutScreenOrMemoryNothingBreaks) {
  ChangeFilter f{};
  GraphicsState empty{};
  EXPECT_FALSE(change_filter_open(&f, empty, true));
  EXPECT_EQ(change_filter_collect(&f, empty), 0);
  change_filter_forget(&f);
  change_filter_close(&f);
  // A screen whose size changed under an open filter is taken at its new size.
  IndexedScreen small(10, 4);
  ASSERT_TRUE(change_filter_open(&f, small.gs, true));
  IndexedScreen big(50, 30);
  std::fill(big.dirty.begin(), big.dirty.end(), 1);
  EXPECT_EQ(change_filter_collect(&f, big.gs), 1);
  EXPECT_EQ(f.rects[0].width, 50);
  EXPECT_EQ(f.rects[0].height, 30);
  change_filter_close(&f);
}

}  // namespace
}  // namespace zv
