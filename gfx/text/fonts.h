// Built-in bitmap fonts and default palettes, unpacked once from the packed block.
#pragma once

#include <cstdint>

namespace zv {

struct FontInfo {
  int32_t width;
  int32_t height;
  const uint8_t* glyphs;  // bit 0 of a row byte is the leftmost pixel
};

struct PaletteInfo {
  int32_t count;
  const uint8_t* colours;  // count x (red, green, blue)
};

constexpr int32_t UNPACKED_SIZE = 10742;

extern const FontInfo font_8x8;
extern const FontInfo font_8x14;
extern const FontInfo font_8x16;
extern const PaletteInfo palette_2;
extern const PaletteInfo palette_16;
extern const PaletteInfo palette_64;
extern const PaletteInfo palette_256;

// Result 0 when the end code was reached, -1 on any failure. length holds the
// output capacity on entry and the bytes written on return.
int32_t unpack_data(const uint8_t* packed, int32_t packed_length, uint8_t* output, int32_t* length);
void unpack_fonts();

}  // namespace zv
