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
  // An index beyond the 16 that the map holds wraps inside it.
  palette_set_entry(63, 5);
  EXPECT_EQ(gs()->colour_map[15], 5);
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
