// The GDI driver's conversion choice, band rule, mode filter and keyboard polling.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/blit/blit.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/key_polling.h"

namespace zv {
namespace {

// A one-page screen of the given size and depth, installed as the current screen.
struct Screen {
  GraphicsState gs{};
  std::vector<uint8_t> page;
  std::vector<uint8_t> dirty;
  uint32_t device_palette[256] = {};
  Screen(int32_t width, int32_t height, int32_t depth, int32_t scanline_size = 1) {
    gs.width = width;
    gs.height = height;
    gs.depth = depth;
    gs.bytes_per_pixel = (depth + 7) / 8;
    gs.pitch = gs.bytes_per_pixel * width;
    gs.scanline_size = scanline_size;
    page.assign(static_cast<size_t>(gs.pitch) * height, 0);
    dirty.assign(static_cast<size_t>(height) * scanline_size, 0);
    gs.visible_buffer = page.data();
    gs.dirty = dirty.data();
    gs.device_palette = device_palette;
    current_screen = &gs;
  }
  ~Screen() { current_screen = nullptr; }
};

GdiConversion choose_for(const Screen& s, int32_t flags = 0) {
  return gdi_choose_conversion(flags, s.gs.depth < 8 ? 8 : s.gs.depth, s.gs.width, s.gs.pitch, s.gs.scanline_size,
                               choose_blitter);
}

TEST(GdiConversion, AlignedTrueColourWindowIsSentStraightFromThePage) {
  Screen s(640, 400, 32);
  GdiConversion c = choose_for(s);
  EXPECT_EQ(c.kind, GDI_DIRECT);
  EXPECT_EQ(c.blit, nullptr);
  Screen s8(640, 400, 8);
  EXPECT_EQ(choose_for(s8).kind, GDI_DIRECT);
}

TEST(GdiConversion, SixteenBitPagesGoThroughThe555Conversion) {
  Screen s(4, 1, 16);
  GdiConversion c = choose_for(s);
  ASSERT_EQ(c.kind, GDI_TO_555);
  ASSERT_NE(c.blit, nullptr);
  EXPECT_EQ(c.buffer_pitch, 8);
  const uint16_t pixels[4] = {0xFFFF, 0xF800, 0x07E0, 0x001F};  // white, red, green, blue in 5-6-5
  std::memcpy(s.page.data(), pixels, sizeof pixels);
  s.dirty[0] = 1;
  uint16_t out[4] = {};
  c.blit(reinterpret_cast<uint8_t*>(out), c.buffer_pitch);
  EXPECT_EQ(out[0], 0x7FFF);
  EXPECT_EQ(out[1], 0x7C00);
  EXPECT_EQ(out[2], 0x03E0);
  EXPECT_EQ(out[3], 0x001F);
}

TEST(GdiConversion, OddWidthAtDepth8IsCopiedInto324ByteRows) {
  Screen s(321, 3, 8);
  GdiConversion c = choose_for(s);
  ASSERT_EQ(c.kind, GDI_COPY);
  ASSERT_NE(c.blit, nullptr);
  EXPECT_EQ(c.buffer_pitch, 324);
  EXPECT_EQ(c.buffer_row_bytes, 324);
  for (size_t i = 0; i < s.page.size(); ++i) s.page[i] = static_cast<uint8_t>(i * 7);
  s.dirty[0] = s.dirty[2] = 1;
  std::vector<uint8_t> buffer(324 * 3, 0xEE);
  c.blit(buffer.data(), c.buffer_pitch);
  EXPECT_EQ(std::memcmp(buffer.data(), s.page.data(), 321), 0);
  EXPECT_EQ(buffer[324], 0xEE);  // row 1 was not dirty
  EXPECT_EQ(std::memcmp(buffer.data() + 648, s.page.data() + 642, 321), 0);
}

TEST(GdiConversion, RepeatedRowsNeedTheCopyEvenWhenAligned) {
  Screen s(640, 200, 8, 2);
  EXPECT_EQ(choose_for(s).kind, GDI_COPY);
  Screen s32(320, 200, 32, 2);
  EXPECT_EQ(choose_for(s32).kind, GDI_COPY);
  EXPECT_EQ(choose_for(s32).buffer_pitch, 1280);
}

TEST(GdiConversion, ShapedTrueColourWindowClearsTheTopByte) {
  Screen s(2, 2, 32);
  GdiConversion c = choose_for(s, SCREEN_SHAPED_WINDOW);
  ASSERT_EQ(c.kind, GDI_ALPHA_CLEAR);
  const uint32_t pixels[4] = {0xFFFF00FF, 0x80123456, 0x11111111, 0x22222222};
  std::memcpy(s.page.data(), pixels, sizeof pixels);
  s.dirty[0] = 1;
  uint32_t out[4] = {0, 0, 0xDEAD, 0xDEAD};
  c.blit(reinterpret_cast<uint8_t*>(out), 8);
  EXPECT_EQ(out[0], 0x00FF00FFu);
  EXPECT_EQ(out[1], 0x00123456u);
  EXPECT_EQ(out[2], 0xDEADu);  // clean row left alone
  Screen s8(4, 1, 8);
  EXPECT_EQ(choose_for(s8, SCREEN_SHAPED_WINDOW).kind, GDI_DIRECT);  // keyed on index 0 instead
}

TEST(GdiBand, OneBandFromTheFirstToTheLastChangedRow) {
  std::vector<uint8_t> dirty(400, 0);
  int32_t first = -1, last = -1;
  EXPECT_FALSE(gdi_find_band(dirty.data(), 400, &first, &last));
  dirty[10] = dirty[200] = 1;
  ASSERT_TRUE(gdi_find_band(dirty.data(), 400, &first, &last));
  EXPECT_EQ(first, 10);
  EXPECT_EQ(last, 200);
  dirty[399] = 1;
  dirty[10] = 0;
  ASSERT_TRUE(gdi_find_band(dirty.data(), 400, &first, &last));
  EXPECT_EQ(first, 200);
  EXPECT_EQ(last, 399);
  dirty[399] = 0;
  EXPECT_TRUE(gdi_find_band(dirty.data(), 201, &first, &last));
  EXPECT_EQ(last, 200);
  EXPECT_FALSE(gdi_find_band(dirty.data(), 200, &first, &last));  // only the first rows count
}

TEST(GdiModes, PairedDepthsCountAsTheSame) {
  EXPECT_TRUE(gdi_mode_matches(16, 15));
  EXPECT_TRUE(gdi_mode_matches(15, 16));
  EXPECT_TRUE(gdi_mode_matches(32, 24));
  EXPECT_TRUE(gdi_mode_matches(24, 32));
  EXPECT_TRUE(gdi_mode_matches(8, 8));
  EXPECT_FALSE(gdi_mode_matches(16, 32));
  EXPECT_FALSE(gdi_mode_matches(8, 16));
}

TEST(KeyPolling, HeldVirtualKeysSetTheirScancodes) {
  uint8_t keyboard[256] = {};
  uint8_t key_state[128];
  std::memset(key_state, 7, sizeof key_state);
  keyboard[0x10] = 0x80;  // Shift: both shift rows
  keyboard[0x67] = 0x81;  // keypad 7 shares Home's scancode
  keyboard['A'] = 0x01;   // toggled but not down
  key_state_from_keyboard(keyboard, key_state);
  EXPECT_EQ(key_state[42], 1);
  EXPECT_EQ(key_state[54], 1);
  EXPECT_EQ(key_state[71], 1);
  EXPECT_EQ(key_state[30], 0);
  EXPECT_EQ(key_state[1], 0);
  EXPECT_EQ(key_state[0], 7);  // no row: left alone
}

}  // namespace
}  // namespace zv
