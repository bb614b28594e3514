// The unpacked fonts and default palettes.
#include <gtest/gtest.h>

#include <cstring>

#include "gfx/text/fonts.h"
#include "tools/fontpack/redrawn_glyphs.h"

namespace {

const zv::FontInfo* const FONTS[] = {&zv::font_8x8, &zv::font_8x14, &zv::font_8x16};

class FontData : public testing::Test {
 protected:
  void SetUp() override { zv::unpack_fonts(); }
};

const uint8_t* glyph(const zv::FontInfo& font, int code) { return font.glyphs + code * font.height; }

uint32_t colour(const zv::PaletteInfo& palette, int index) {
  const uint8_t* c = palette.colours + index * 3;
  return (uint32_t{c[0]} << 16) | (uint32_t{c[1]} << 8) | c[2];
}

TEST_F(FontData, RecordsPointIntoOneBlockInOrder) {
  EXPECT_EQ(zv::font_8x8.width, 8);
  EXPECT_EQ(zv::font_8x8.height, 8);
  EXPECT_EQ(zv::font_8x14.height, 14);
  EXPECT_EQ(zv::font_8x16.height, 16);
  const uint8_t* base = zv::font_8x8.glyphs;
  EXPECT_EQ(zv::font_8x14.glyphs - base, 2048);
  EXPECT_EQ(zv::font_8x16.glyphs - base, 5632);
  EXPECT_EQ(zv::palette_2.colours - base, 9728);
  EXPECT_EQ(zv::palette_16.colours - base, 9734);
  EXPECT_EQ(zv::palette_64.colours - base, 9782);
  EXPECT_EQ(zv::palette_256.colours - base, 9974);
  EXPECT_EQ(zv::palette_256.colours + 256 * 3 - base, zv::UNPACKED_SIZE);
  EXPECT_EQ(zv::palette_2.count, 2);
  EXPECT_EQ(zv::palette_16.count, 16);
  EXPECT_EQ(zv::palette_64.count, 64);
  EXPECT_EQ(zv::palette_256.count, 256);
}

TEST_F(FontData, UnpacksOnlyOnce) {
  // A changed byte survives a second call: nothing is decoded again.
  uint8_t* first = const_cast<uint8_t*>(zv::font_8x8.glyphs);
  const uint8_t saved = first[0];
  first[0] = static_cast<uint8_t>(saved ^ 0x5A);
  zv::unpack_fonts();
  EXPECT_EQ(first[0], saved ^ 0x5A);
  first[0] = saved;
}

TEST_F(FontData, BlockAndSpaceGlyphs) {
  for (const zv::FontInfo* font : FONTS) {
    for (int row = 0; row < font->height; ++row) {
      EXPECT_EQ(glyph(*font, 219)[row], 0xFF) << font->height << " row " << row;
      EXPECT_EQ(glyph(*font, 32)[row], 0x00) << font->height << " row " << row;
      // The left half block proves the bit order: bit 0 is the leftmost pixel.
      EXPECT_EQ(glyph(*font, 221)[row], 0x0F) << font->height << " row " << row;
      EXPECT_EQ(glyph(*font, 222)[row], 0xF0) << font->height << " row " << row;
    }
  }
}

TEST_F(FontData, HorizontalLineCrossesTheMiddle) {
  for (const zv::FontInfo* font : FONTS) {
    int full_row = -1;
    for (int row = 0; row < font->height; ++row) {
      const uint8_t bits = glyph(*font, 196)[row];
      if (bits == 0xFF && full_row < 0) {
        full_row = row;
      } else {
        EXPECT_EQ(bits, 0) << font->height << " row " << row;
      }
    }
    EXPECT_GE(full_row, font->height / 2 - 1) << font->height;
    EXPECT_LE(full_row, font->height / 2) << font->height;
  }
}

TEST_F(FontData, CapitalRSitsOnRowsTwoToEleven) {
  const uint8_t* r = glyph(zv::font_8x16, 'R');
  for (int row = 0; row < 16; ++row) {
    if (row >= 2 && row <= 11) {
      EXPECT_NE(r[row], 0) << "row " << row;
    } else {
      EXPECT_EQ(r[row], 0) << "row " << row;
    }
  }
}

// The shapes the console fonts have at these codes (o slash, O slash and the
// currency sign), which must not remain.
struct ReplacedGlyph {
  uint8_t code;
  int height;
  const char* rows[14];
};
constexpr ReplacedGlyph CP865_GLYPHS[] = {
    {0x9B, 8, {"........", "......#.", ".#####..", "##..###.", "##.#.##.", "###..##.", ".#####..", "#......."}},
    {0x9D, 8, {"..###.#.", ".##.##..", "##..###.", "##.#.##.", "###..##.", ".##.##..", "#.###...", "........"}},
    {0xAF, 8, {"........", "##...##.", ".#####..", "##...##.", "##...##.", ".#####..", "##...##.", "........"}},
    {0x9B, 14, {"........", "........", "........", "........", "........", "........", ".#####..", "##..###.",
                "##.####.", "####.##.", "###..##.", ".#####..", "........", "........"}},
    {0x9D, 14, {"........", "........", ".....#..", ".#####..", "##..###.", "##..###.", "##.#.##.", "##.#.##.",
                "##.#.##.", "###..##.", "###..##.", ".#####..", ".#......", "........"}},
    {0xAF, 14, {"........", "........", "........", "........", "........", "##...##.", ".#####..", "##...##.",
                "##...##.", "##...##.", ".#####..", "##...##.", "........", "........"}},
};

const zv::FontInfo& font_of_height(int height) { return height == 8 ? zv::font_8x8 : zv::font_8x14; }

TEST_F(FontData, RedrawnGlyphsReplaceTheConsoleFontOnes) {
  for (const ReplacedGlyph& old : CP865_GLYPHS) {
    const uint8_t* g = glyph(font_of_height(old.height), old.code);
    bool any_set = false;
    bool differs = false;
    for (int row = 0; row < old.height; ++row) {
      any_set |= g[row] != 0;
      differs |= g[row] != fontpack::glyph_row_bits(old.rows[row]);
    }
    EXPECT_TRUE(any_set) << std::hex << int{old.code} << " " << old.height;
    EXPECT_TRUE(differs) << std::hex << int{old.code} << " " << old.height;
  }
  for (const fontpack::RedrawnGlyph& redrawn : fontpack::REDRAWN_GLYPHS) {
    const uint8_t* g = glyph(font_of_height(redrawn.height), redrawn.code);
    for (int row = 0; row < redrawn.height; ++row) {
      EXPECT_EQ(g[row], fontpack::glyph_row_bits(redrawn.rows[row]))
          << std::hex << int{redrawn.code} << " " << std::dec << redrawn.height << " row " << row;
    }
  }
}

TEST_F(FontData, SmallPalettes) {
  EXPECT_EQ(colour(zv::palette_2, 0), 0x000000u);
  EXPECT_EQ(colour(zv::palette_2, 1), 0xFFFFFFu);

  constexpr uint32_t TEXT_COLOURS[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                                         0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                                         0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(colour(zv::palette_16, i), TEXT_COLOURS[i]) << i;

  // Bits 2, 1, 0 give two thirds of red, green, blue; bits 5, 4, 3 one third.
  for (uint32_t i = 0; i < 64; ++i) {
    const uint32_t r = 0xAA * (i >> 2 & 1) + 0x55 * (i >> 5 & 1);
    const uint32_t g = 0xAA * (i >> 1 & 1) + 0x55 * (i >> 4 & 1);
    const uint32_t b = 0xAA * (i & 1) + 0x55 * (i >> 3 & 1);
    EXPECT_EQ(colour(zv::palette_64, i), r << 16 | g << 8 | b) << i;
  }
  EXPECT_EQ(colour(zv::palette_64, 0x14), 0xAA5500u);
}

TEST_F(FontData, VgaPalette) {
  for (int i = 0; i < 16; ++i) EXPECT_EQ(colour(zv::palette_256, i), colour(zv::palette_16, i)) << i;
  // Grey levels 32 and 24 (of 63) widen to 129 and 97.
  EXPECT_EQ(colour(zv::palette_256, 16), 0x000000u);
  EXPECT_EQ(colour(zv::palette_256, 23), 0x616161u);
  EXPECT_EQ(colour(zv::palette_256, 25), 0x818181u);
  EXPECT_EQ(colour(zv::palette_256, 31), 0xFFFFFFu);
  // The hue ramps start at blue; entry 63 is (63, 31, 39).
  EXPECT_EQ(colour(zv::palette_256, 32), 0x0000FFu);
  EXPECT_EQ(colour(zv::palette_256, 40), 0xFF0000u);
  EXPECT_EQ(colour(zv::palette_256, 63), 0xFF7D9Du);
  EXPECT_EQ(colour(zv::palette_256, 247), 0x2C3040u);
  for (int i = 248; i < 256; ++i) EXPECT_EQ(colour(zv::palette_256, i), 0x000000u) << i;
}

}  // namespace
