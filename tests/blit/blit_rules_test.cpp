// The fixed values and choices of the conversion rules, and bad screen records.
#include <gtest/gtest.h>

#include <cstring>

#include "blit_harness.h"
#include "runtime/cpu.h"

namespace blit_test {
namespace {

constexpr int32_t LEVELS[] = {SET_PLAIN, SET_SSE2, SET_AVX2, SET_AVX512};

// Converts one row of one pixel-sized source through every available set; returns the
// first 4 output bytes as a little-endian word.
std::vector<uint32_t> convert_single(Scene& scene, int32_t type, int32_t red_low) {
  std::vector<uint32_t> results;
  for (int32_t level : LEVELS) {
    if (!set_available(level)) continue;
    scene.install();
    zv::BlitFunction blit = choose_in_set(level, type, red_low);
    EXPECT_NE(blit, nullptr);
    if (!blit) continue;
    uint8_t out[160] = {};
    blit(out, 160);
    uint32_t word;
    std::memcpy(&word, out, 4);
    results.push_back(word);
  }
  return results;
}

// Fills every pixel of a row long enough for the vector blocks with one value.
Scene uniform_scene(int32_t depth, uint32_t pixel) {
  Scene scene(depth, 40, 1, 1);
  for (size_t i = 0; i + scene.gs.bytes_per_pixel <= scene.page.size(); i += scene.gs.bytes_per_pixel)
    std::memcpy(&scene.page[i], &pixel, scene.gs.bytes_per_pixel);
  return scene;
}

TEST(BlitRules, SixteenBitWhiteKeepsZerosBelowTheFields) {
  Scene scene = uniform_scene(16, 0xFFFF);
  for (uint32_t v : convert_single(scene, 32, 0)) EXPECT_EQ(v, 0xF8FCF8u);
  for (uint32_t v : convert_single(scene, 24, 0)) EXPECT_EQ(v & 0xFFFFFF, 0xF8FCF8u);
}

TEST(BlitRules, PaletteRedInFifteenBitOrders) {
  Scene scene(8, 16, 1, 1);
  scene.palette[7] = 0x0000FF;  // red 255, green 0, blue 0
  std::memset(scene.page.data(), 7, scene.page.size());
  for (uint32_t v : convert_single(scene, 15, 0)) EXPECT_EQ(v & 0xFFFF, 0x7C00u);
  for (uint32_t v : convert_single(scene, 15, 1)) EXPECT_EQ(v & 0xFFFF, 0x001Fu);
}

TEST(BlitRules, FourthByteNeverReachesNarrowerOutputs) {
  for (uint32_t pixel : {0xFF123456u, 0x00123456u}) {
    Scene scene = uniform_scene(32, pixel);
    for (uint32_t v : convert_single(scene, 16, 0)) EXPECT_EQ(v & 0xFFFF, 0x11AAu);
    for (uint32_t v : convert_single(scene, 24, 0)) EXPECT_EQ(v & 0xFFFFFF, 0x123456u);
  }
  // The plain copy keeps it.
  Scene scene = uniform_scene(32, 0xFF123456u);
  for (uint32_t v : convert_single(scene, 32, 0)) EXPECT_EQ(v, 0xFF123456u);
}

TEST(BlitRules, ConversionTableFollowsTheAskedOrder) {
  Scene scene(16, 4, 1, 1);
  scene.install();
  for (int32_t red_low : {0, 1}) {
    ASSERT_NE(zv::choose_blitter(32, red_low), nullptr);
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t low = red_low ? ((i & 0x1F) << 19) | ((i & 0xE0) << 5) : ((i & 0x1F) << 3) | ((i & 0xE0) << 5);
      uint32_t high = red_low ? ((i & 0x07) << 13) | (i & 0xF8) : ((i & 0x07) << 13) | ((i & 0xF8) << 16);
      ASSERT_EQ(scene.table[i], low) << i;
      ASSERT_EQ(scene.table[256 + i], high) << i;
    }
  }
}

TEST(BlitRules, WorksWithoutTheScreenCoresTable) {
  Scene scene = uniform_scene(16, 0xFFFF);
  scene.install();
  zv::blit_conversion_table = nullptr;
  zv::BlitFunction blit = zv::choose_blitter(32, 1);
  ASSERT_NE(blit, nullptr);
  uint32_t out[40] = {};
  blit(reinterpret_cast<uint8_t*>(out), 160);
  EXPECT_EQ(out[0], 0xF8FCF8u);
}

TEST(BlitRules, PairsThatCannotBeServedGiveNone) {
  zv::current_screen = nullptr;
  EXPECT_EQ(zv::choose_blitter(32, 0), nullptr);
  for (int32_t depth : {16, 32}) {
    Scene scene(depth, 4, 1, 1);
    scene.install();
    EXPECT_EQ(zv::choose_blitter(8, 0), nullptr);
    EXPECT_EQ(zv::choose_blitter(8, 1), nullptr);
  }
  Scene scene(8, 4, 1, 1);
  scene.install();
  for (int32_t type : {0, 1, 4, 12, 17, 23, 25, 33, -16}) EXPECT_EQ(zv::choose_blitter(type, 0), nullptr) << type;
  for (int32_t red_low : {-1, 2}) EXPECT_EQ(zv::choose_blitter(16, red_low), nullptr);
  for (int32_t depth : {0, 3, 5, 7, 12, 31, 64, -8}) {
    scene.gs.depth = depth;
    EXPECT_EQ(zv::choose_blitter(16, 0), nullptr) << depth;
  }
  for (int32_t depth : {1, 2, 4, 8, 15, 16, 24, 32}) {
    scene.gs.depth = depth;
    EXPECT_NE(zv::choose_blitter(32, 0), nullptr) << depth;
  }
}

TEST(BlitRules, FasterSetOnlyWithVectorRoutinesInUse) {
  Scene scene(32, 8, 1, 1);
  scene.install();
  zv::BlitFunction plain = choose_in_set(SET_PLAIN, 16, 0);
  for (int32_t level : {SET_SSE2, SET_AVX2})
    if (set_available(level)) {
      EXPECT_NE(choose_in_set(level, 16, 0), plain) << set_name(level);
    }
  // The copy member serves every set.
  EXPECT_EQ(choose_in_set(SET_SSE2, 32, 0), choose_in_set(SET_PLAIN, 32, 0));
}

// A width of 1 writes exactly one 16-bit pixel per produced row, for every source and set.
TEST(BlitRules, WidthOneWritesTwoBytesPerDirtyRow) {
  for (int32_t depth : {8, 16, 32})
    for (int32_t type : {15, 16})
      for (int32_t level : LEVELS) {
        if (!set_available(level)) continue;
        Scene scene(depth, 1, 3, 2);
        scene.dirty = {1, 0, 1, 0, 0, 0};
        scene.install();
        zv::BlitFunction blit = choose_in_set(level, type, 1);
        ASSERT_NE(blit, nullptr);
        std::vector<uint8_t> surface(6 * 8, 0xEE);
        blit(surface.data(), 8);
        for (int32_t row = 0; row < 6; ++row)
          for (int32_t b = 0; b < 8; ++b) {
            bool written = (row == 0 || row == 1 || row == 4 || row == 5) && b < 2;
            EXPECT_EQ(surface[row * 8 + b] != 0xEE, written) << "depth " << depth << " row " << row << " byte " << b;
          }
      }
}

// Records no real screen would have must not make a member read or write out of bounds.
TEST(BlitRules, BrokenScreenRecordsDrawNothing) {
  for (int32_t level : LEVELS) {
    if (!set_available(level)) continue;
    std::vector<uint8_t> surface(256, 0xEE);
    auto run = [&](Scene&, int32_t type) {
      zv::BlitFunction blit = choose_in_set(level, type, 0);
      ASSERT_NE(blit, nullptr);
      blit(surface.data(), 64);
      blit(nullptr, 64);
    };
    Scene no_palette(8, 4, 2, 1);
    no_palette.install();
    no_palette.gs.device_palette = nullptr;
    run(no_palette, 32);
    Scene no_page(32, 4, 2, 1);
    no_page.install();
    no_page.gs.visible_buffer = nullptr;
    run(no_page, 16);
    Scene short_pitch(32, 4, 2, 1);
    short_pitch.install();
    short_pitch.gs.pitch = 8;
    run(short_pitch, 16);
    run(short_pitch, 24);
    Scene no_rows(32, 4, 2, 1);
    no_rows.install();
    no_rows.gs.scanline_size = 0;
    run(no_rows, 24);
    no_rows.gs.scanline_size = 1;
    no_rows.gs.dirty = nullptr;
    run(no_rows, 24);
    no_rows.gs.dirty = no_rows.dirty.data();
    no_rows.gs.width = -5;
    run(no_rows, 24);
    EXPECT_EQ(surface, std::vector<uint8_t>(256, 0xEE)) << set_name(level);
  }
}

}  // namespace
}  // namespace blit_test
