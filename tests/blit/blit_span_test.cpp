// The span form of every member against the reference, and palettes that change between calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "blit_harness.h"

namespace blit_test {
namespace {

int32_t surface_pixel_bytes(const Scene& scene, int32_t type) {
  const int32_t row = surface_row_bytes(scene, type);
  return row / scene.gs.width;
}

// What the spans must leave: the full conversion inside each span's pixels (in every
// repeated row), the canary everywhere else.
std::vector<uint8_t> expected_spans(Scene& scene, const Surface& before, const Member& m,
                                    const std::vector<zv::RowSpan>& spans) {
  std::vector<uint8_t> saved_dirty = scene.dirty;
  std::fill(scene.dirty.begin(), scene.dirty.end(), 1);
  std::vector<uint8_t> full = expected_surface(scene, before, m.type, m.red_low);
  scene.dirty = saved_dirty;
  std::vector<uint8_t> out = before.bytes;
  const int32_t bytes = surface_pixel_bytes(scene, m.type);
  for (const zv::RowSpan& s : spans) {
    const int32_t x0 = std::max(s.x0, 0), x1 = std::min(s.x1, scene.gs.width);
    if (s.row < 0 || s.row >= scene.gs.height || x1 <= x0) continue;
    for (int32_t r = 0; r < scene.gs.scanline_size; ++r) {
      int64_t offset = static_cast<int64_t>(before.first_row) +
                       int64_t{s.row * scene.gs.scanline_size + r} * before.pitch + int64_t{x0} * bytes;
      std::copy(full.begin() + offset, full.begin() + offset + int64_t{x1 - x0} * bytes, out.begin() + offset);
    }
  }
  return out;
}

std::vector<zv::RowSpan> random_spans(std::mt19937& rng, const Scene& scene) {
  std::vector<zv::RowSpan> spans;
  const int32_t count = static_cast<int32_t>(rng() % 6);
  for (int32_t i = 0; i < count; ++i) {
    // Some reach past the page on either side, or lie outside it, and must be cut.
    int32_t row = static_cast<int32_t>(rng() % (scene.gs.height + 2)) - 1;
    int32_t a = static_cast<int32_t>(rng() % (scene.gs.width + 4)) - 2;
    int32_t b = a + static_cast<int32_t>(rng() % (scene.gs.width + 2));
    spans.push_back({row, a, b});
  }
  return spans;
}

TEST(BlitSpans, EveryMemberConvertsExactlyItsSpans) {
  const std::vector<int32_t> levels = available_levels();
  for (uint32_t seed = 1; seed <= 600; ++seed) {
    std::mt19937 rng(seed * 2246822519u);
    std::vector<Member> members = all_members();
    const Member m = members[rng() % members.size()];
    Scene scene(m.depth, static_cast<int32_t>(1 + rng() % 200), static_cast<int32_t>(1 + rng() % 5),
                static_cast<int32_t>(1 + rng() % 2));
    scene.randomise(rng);
    scene.install();
    const std::vector<zv::RowSpan> spans = random_spans(rng, scene);
    for (int32_t level : levels) {
      zv::SpanBlitFunction blit = choose_spans_in_set(level, m.type, m.red_low);
      ASSERT_NE(blit, nullptr) << "seed " << seed;
      Surface surface = make_surface(scene, m.type, static_cast<int32_t>(seed % 5), seed % 7 == 0, seed);
      std::vector<uint8_t> expected = expected_spans(scene, surface, m, spans);
      blit(surface.row0(), surface.pitch, spans.data(), static_cast<int32_t>(spans.size()));
      ASSERT_EQ(first_difference(expected, surface.bytes, surface), "")
          << "set " << set_name(level) << " seed " << seed << ": depth " << m.depth << " -> " << m.type
          << (m.red_low ? " red-low" : " red-high") << ", width " << scene.gs.width;
    }
  }
}

// The sets that convert the palette once per call must take the palette of that call.
TEST(BlitSpans, PaletteChangedBetweenCallsIsUsed) {
  for (int32_t level : available_levels())
    for (int32_t type : {15, 16, 24, 32})
      for (int32_t red_low : {0, 1})
        for (int32_t width : {5, 64, 200}) {
          std::mt19937 rng(static_cast<uint32_t>(level * 1000 + type * 10 + red_low + width * 7));
          Scene scene(8, width, 3, 1);
          scene.randomise(rng);
          std::fill(scene.dirty.begin(), scene.dirty.end(), 1);
          scene.install();
          zv::BlitFunction rows = choose_in_set(level, type, red_low);
          zv::SpanBlitFunction spans = choose_spans_in_set(level, type, red_low);
          Surface surface = make_surface(scene, type, 0, false, 7);
          Surface span_surface = surface;
          rows(surface.row0(), surface.pitch);
          const zv::RowSpan all[] = {{0, 0, width}, {1, 0, width}, {2, 0, width}};
          spans(span_surface.row0(), span_surface.pitch, all, 3);
          for (auto& p : scene.palette) p = rng();
          std::vector<uint8_t> expected = expected_surface(scene, surface, type, red_low);
          rows(surface.row0(), surface.pitch);
          spans(span_surface.row0(), span_surface.pitch, all, 3);
          const std::string where = std::string("set ") + set_name(level) + " type " + std::to_string(type) +
                                    (red_low ? " red-low" : " red-high") + " width " + std::to_string(width);
          ASSERT_EQ(first_difference(expected, surface.bytes, surface), "") << where;
          ASSERT_EQ(first_difference(expected, span_surface.bytes, span_surface), "") << where << " (spans)";
        }
}

TEST(BlitSpans, NoScreenOrNoSpansWritesNothing) {
  Scene scene(32, 8, 2, 1);
  scene.install();
  zv::SpanBlitFunction blit = choose_spans_in_set(SET_PLAIN, 16, 0);
  ASSERT_NE(blit, nullptr);
  Surface surface = make_surface(scene, 16, 0, false, 3);
  const std::vector<uint8_t> before = surface.bytes;
  blit(surface.row0(), surface.pitch, nullptr, 4);
  const zv::RowSpan outside[] = {{-1, 0, 8}, {2, 0, 8}, {0, 8, 20}, {1, 5, 5}};
  blit(surface.row0(), surface.pitch, outside, 4);
  zv::current_screen = nullptr;
  const zv::RowSpan inside[] = {{0, 0, 8}};
  blit(surface.row0(), surface.pitch, inside, 1);
  EXPECT_EQ(surface.bytes, before);
}

}  // namespace
}  // namespace blit_test
