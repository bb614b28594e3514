// Every member of every set against the reference, on random pages, palettes and dirty rows.
#include <gtest/gtest.h>

#include <cstdio>

#include "blit_harness.h"

namespace blit_test {
namespace {

struct Case {
  Member member;
  int32_t width, height, scanline_size, slack;
  bool bottom_up;
};

std::string describe(const Case& c, int32_t level, uint32_t seed) {
  char text[200];
  std::snprintf(text, sizeof text, "set %s seed %u: depth %d -> type %d red_low %d, %d x %d, scanline %d%s",
                set_name(level), seed, c.member.depth, c.member.type, c.member.red_low, c.width, c.height,
                c.scanline_size, c.bottom_up ? ", bottom-up" : "");
  return text;
}

// Runs one case through one set; returns "" or what went wrong. crc folds in the output.
std::string run_case(const Case& c, int32_t level, uint32_t seed, uint32_t& crc) {
  std::mt19937 rng(seed);
  Scene scene(c.member.depth, c.width, c.height, c.scanline_size);
  scene.randomise(rng);
  scene.install();
  zv::BlitFunction blit = choose_in_set(level, c.member.type, c.member.red_low);
  if (!blit) return describe(c, level, seed) + ": no member";
  Surface surface = make_surface(scene, c.member.type, c.slack, c.bottom_up, seed ^ 0x5A5A5A5A);
  std::vector<uint8_t> expected = expected_surface(scene, surface, c.member.type, c.member.red_low);
  std::vector<uint8_t> page_before = scene.page, dirty_before = scene.dirty;
  blit(surface.row0(), surface.pitch);
  for (uint8_t b : surface.bytes) crc = (crc ^ b) * 16777619u;
  std::string diff = first_difference(expected, surface.bytes, surface);
  if (!diff.empty()) return describe(c, level, seed) + ": " + diff;
  if (scene.page != page_before || scene.dirty != dirty_before) return describe(c, level, seed) + ": source changed";
  return "";
}

std::vector<int32_t> levels() { return available_levels(); }

// Widths 1 to 67 cover every remainder of the vector blocks, with one and two scanlines.
TEST(BlitSweep, EveryMemberEveryWidthMatchesReference) {
  uint32_t seed = 1;
  for (int32_t level : levels()) {
    uint32_t crc = 2166136261u;
    for (const Member& m : all_members())
      for (int32_t width = 1; width <= 67; ++width)
        for (int32_t scanline = 1; scanline <= 2; ++scanline) {
          Case c{m, width, 3, scanline, width % 5, width % 7 == 0};
          std::string failure = run_case(c, level, seed++, crc);
          ASSERT_EQ(failure, "");
        }
    seed = 1;  // the same cases for every set
    std::printf("%s: output hash %08x\n", set_name(level), crc);
  }
}

TEST(BlitSweep, LargeRowsMatchReference) {
  uint32_t seed = 100000;
  for (int32_t level : levels())
    for (const Member& m : all_members())
      for (int32_t width : {640, 1920, 4099}) {
        uint32_t crc = 0;
        Case c{m, width, 2, 1, 3, false};
        ASSERT_EQ(run_case(c, level, seed++, crc), "");
      }
}

// Random shapes; every set must give the reference's bytes, reported by seed.
TEST(BlitSweep, RandomCasesAgreeAcrossSets) {
  std::vector<Member> members = all_members();
  std::vector<int32_t> sets = levels();
  for (uint32_t seed = 1; seed <= 1500; ++seed) {
    std::mt19937 rng(seed * 2654435761u);
    Case c{members[rng() % members.size()], static_cast<int32_t>(1 + rng() % 300), static_cast<int32_t>(1 + rng() % 6),
           static_cast<int32_t>(1 + rng() % 2), static_cast<int32_t>(rng() % 9), rng() % 4 == 0};
    uint32_t first_crc = 0;
    for (int32_t level : sets) {
      uint32_t crc = 2166136261u;
      ASSERT_EQ(run_case(c, level, seed, crc), "");
      if (level == SET_PLAIN) first_crc = crc;
      ASSERT_EQ(crc, first_crc) << describe(c, level, seed);
    }
  }
}

}  // namespace
}  // namespace blit_test
