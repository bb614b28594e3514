#include <cstring>

#include "gfx/core/palette.h"
#include "gfx/core/ports.h"
#include "gfx/text/fonts.h"
#include "screen_fixture.h"

using namespace zv;
using test::fake_state;

namespace {

uint32_t triple(const PaletteInfo& p, int i) {
  const uint8_t* c = p.colours + 3 * i;
  return c[0] | c[1] << 8 | c[2] << 16;
}

std::vector<int32_t> last_entry() { return fake_state(0).palette_entries.back(); }

}  // namespace

TEST_F(ScreenTest, TwoHundredFiftySixColoursTakeSixBitChannels) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  std::memset(gs()->dirty, 0, 200);
  palette_statement(1, 63, -1, -1);
  EXPECT_EQ(gs()->device_palette[1], 0x0000FFu);
  EXPECT_EQ(last_entry(), (std::vector<int32_t>{1, 255, 0, 0}));
  EXPECT_EQ(gs()->dirty[199], 1);
  palette_statement(2, 255, 0, 128);  // three 8-bit channels
  EXPECT_EQ(gs()->device_palette[2], (255u) | (0u << 8) | ((32u * 255 / 63) << 16));
  palette_set_entry(256 + 3, 1 | 32 << 8);  // index wraps, 1 -> 4, 32 -> 129
  EXPECT_EQ(gs()->device_palette[3], 4u | 129u << 8);
  EXPECT_FALSE(gs()->flags & (GS_LOCKED | GS_AUTO_LOCKED));
}

TEST_F(ScreenTest, AdapterModesMapIndicesIntoTheColourTable) {
  ASSERT_EQ(screen_set_mode(9, 0, 1, 0, 0), 0);
  // The default map of mode 9 shows index 6 as full-table colour 20.
  EXPECT_EQ(gs()->colour_map[6], 20);
  EXPECT_EQ(gs()->device_palette[6], triple(palette_64, 20));
  palette_statement(3, 70, -1, -1);
  EXPECT_EQ(gs()->colour_map[3], 6);
  EXPECT_EQ(gs()->device_palette[3], triple(palette_64, 6));
}

// Mode 9 has a 64-entry palette but a 16-entry colour map: indices 16 to 63 are shown
// and sent to the driver as any other, only the map has no place for them, and no other
// entry changes. The ports reach the same entries.
TEST_F(ScreenTest, ModeNineIndicesPastTheColourMapSetTheirOwnEntry) {
  ASSERT_EQ(screen_set_mode(9, 0, 1, 0, 0), 0);
  for (int32_t index : {20, 63, 64 + 20}) {
    const int32_t entry = index & 63;
    uint8_t map_before[16];
    uint32_t shown_before[256];
    std::memcpy(map_before, gs()->colour_map, 16);
    std::memcpy(shown_before, gs()->device_palette, sizeof shown_before);
    palette_set_entry(index, 5);
    EXPECT_EQ(std::memcmp(map_before, gs()->colour_map, 16), 0) << index;
    EXPECT_EQ(gs()->device_palette[entry], triple(palette_64, 5)) << index;
    for (int32_t i = 0; i < 256; ++i) {
      if (i == entry) continue;
      EXPECT_EQ(gs()->device_palette[i], shown_before[i]) << index << " changed " << i;
    }
    const uint32_t rgb = triple(palette_64, 5);
    EXPECT_EQ(last_entry(), (std::vector<int32_t>{entry, int32_t(rgb & 0xFF), int32_t(rgb >> 8 & 0xFF),
                                                  int32_t(rgb >> 16)}));
  }
  // Through the ports: index 30 with the 6-bit components 5, 0, 0, which name entry 5.
  uint8_t map_before[16];
  std::memcpy(map_before, gs()->colour_map, 16);
  port_out(968, 30);
  port_out(969, 5);
  port_out(969, 0);
  port_out(969, 0);
  EXPECT_EQ(gs()->device_palette[30], triple(palette_64, 5));
  EXPECT_EQ(std::memcmp(map_before, gs()->colour_map, 16), 0);
}

TEST_F(ScreenTest, ModeOneResetPicksOneOfFourMaps) {
  ASSERT_EQ(screen_set_mode(1, 0, 1, 0, 0), 0);
  EXPECT_EQ(gs()->device_palette[1], triple(palette_16, 11));
  palette_statement(-2, 0, 0, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(gs()->device_palette[i], triple(palette_16, i * 2 + (i ? 8 : 0))) << i;
  palette_statement(-9, 0, 0, 0);
  EXPECT_EQ(gs()->device_palette[3], triple(palette_16, 6));
}

TEST_F(ScreenTest, PaletteUsingSkipsNegativesAndStopsAtTheArray) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  int32_t colours[3] = {63, -1, 63 << 8};
  uint32_t before = gs()->device_palette[1];
  palette_using(colours, 3);
  EXPECT_EQ(gs()->device_palette[0], 0xFFu);
  EXPECT_EQ(gs()->device_palette[1], before);
  EXPECT_EQ(gs()->device_palette[2], 0xFF00u);
  palette_using(nullptr, 256);
}

TEST_F(ScreenTest, PalettesDoNothingOnDirectColourScreens) {
  ASSERT_EQ(screen_set_mode(18, 32, 1, 0, 0), 0);
  size_t calls = fake_state(0).palette_entries.size();
  palette_statement(1, 63, -1, -1);
  palette_set_entry(1, 63);
  EXPECT_EQ(fake_state(0).palette_entries.size(), calls);
  EXPECT_EQ(port_out(968, 1), 0);
  EXPECT_EQ(port_in(969), -1);
  EXPECT_EQ(port_in(986), 8);
}

TEST_F(ScreenTest, PaletteReapplySendsEveryEntry) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  fake_state(0).palette_entries.clear();
  palette_reapply();
  EXPECT_EQ(fake_state(0).palette_entries.size(), 256u);
}

TEST_F(ScreenTest, PortsWriteAndReadComponentsRedFirst) {
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  port_out(968, 255);
  port_out(969, 63);
  port_out(969, 0);
  port_out(969, 32);
  port_out(969, 63);  // goes on with index 0 (255 + 1 wraps)
  EXPECT_EQ(gs()->device_palette[255], 0xFFu | (32u * 255 / 63) << 16);
  port_out(967, 255);
  EXPECT_EQ(port_in(969), 63);
  EXPECT_EQ(port_in(969), 0);
  EXPECT_EQ(port_in(969), 32);
  EXPECT_EQ(port_in(100), -1);
  fake_state(0).vblank_waits = 0;
  EXPECT_EQ(port_in(986), 8);
  EXPECT_EQ(fake_state(0).vblank_waits, 1);
}

TEST(Ports, WithoutAScreenNothingAnswers) {
  ASSERT_EQ(current_screen, nullptr);
  EXPECT_EQ(port_in(969), -1);
  EXPECT_EQ(port_in(986), -1);
  EXPECT_EQ(port_out(968, 1), 0);
}
