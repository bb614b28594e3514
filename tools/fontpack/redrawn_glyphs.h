// The three glyphs in which the 8x8 and 8x14 console fonts (drawn for code
// page 865) differ from code page 437: cent, yen and right guillemet, drawn
// here in the style of their neighbours ('c', 'Y' and the left guillemet).
// '#' is a set pixel, the leftmost character the leftmost pixel.
#pragma once

#include <cstdint>

namespace fontpack {

struct RedrawnGlyph {
  uint8_t code;
  int height;
  const char* rows[16];
};

inline constexpr RedrawnGlyph REDRAWN_GLYPHS[] = {
    {0x9B, 8,
     {"..##....",
      ".#####..",
      "##...##.",
      "##......",
      "##...##.",
      ".#####..",
      "..##....",
      "........"}},
    {0x9D, 8,
     {".##..##.",
      ".##..##.",
      "..####..",
      ".######.",
      "...##...",
      ".######.",
      "...##...",
      "........"}},
    {0xAF, 8,
     {"........",
      "##..##..",
      ".##..##.",
      "..##..##",
      ".##..##.",
      "##..##..",
      "........",
      "........"}},
    {0x9B, 14,
     {"........",
      "........",
      "........",
      "..##....",
      "..##....",
      ".#####..",
      "##...##.",
      "##......",
      "##......",
      "##...##.",
      ".#####..",
      "..##....",
      "..##....",
      "........"}},
    {0x9D, 14,
     {"........",
      "........",
      "........",
      ".##..##.",
      ".##..##.",
      ".##..##.",
      "..####..",
      ".######.",
      "...##...",
      ".######.",
      "...##...",
      "...##...",
      "........",
      "........"}},
    {0xAF, 14,
     {"........",
      "........",
      "........",
      "........",
      "........",
      "##.##...",
      ".##.##..",
      "..##.##.",
      ".##.##..",
      "##.##...",
      "........",
      "........",
      "........",
      "........"}},
};

// One row as the unpacked block stores it: bit 0 is the leftmost pixel.
constexpr uint8_t glyph_row_bits(const char* row) {
  uint8_t bits = 0;
  for (int x = 0; x < 8; ++x) {
    if (row[x] == '#') bits = static_cast<uint8_t>(bits | (1u << x));
  }
  return bits;
}

}  // namespace fontpack
