// The unpacked font and palette block and the records that point into it.
#include "gfx/text/fonts.h"

#include "gfx/text/packed_fonts.h"

namespace zv {
namespace {

// Zero until unpack_fonts first runs, read-only afterwards.
uint8_t unpacked[UNPACKED_SIZE];
bool unpacked_done = false;

constexpr int32_t FONT_8X8_OFFSET = 0;
constexpr int32_t FONT_8X14_OFFSET = 2048;
constexpr int32_t FONT_8X16_OFFSET = 5632;
constexpr int32_t PALETTE_2_OFFSET = 9728;
constexpr int32_t PALETTE_16_OFFSET = 9734;
constexpr int32_t PALETTE_64_OFFSET = 9782;
constexpr int32_t PALETTE_256_OFFSET = 9974;

static_assert(FONT_8X14_OFFSET == FONT_8X8_OFFSET + 256 * 8);
static_assert(FONT_8X16_OFFSET == FONT_8X14_OFFSET + 256 * 14);
static_assert(PALETTE_2_OFFSET == FONT_8X16_OFFSET + 256 * 16);
static_assert(PALETTE_16_OFFSET == PALETTE_2_OFFSET + 2 * 3);
static_assert(PALETTE_64_OFFSET == PALETTE_16_OFFSET + 16 * 3);
static_assert(PALETTE_256_OFFSET == PALETTE_64_OFFSET + 64 * 3);
static_assert(UNPACKED_SIZE == PALETTE_256_OFFSET + 256 * 3);

}  // namespace

const FontInfo font_8x8 = {8, 8, unpacked + FONT_8X8_OFFSET};
const FontInfo font_8x14 = {8, 14, unpacked + FONT_8X14_OFFSET};
const FontInfo font_8x16 = {8, 16, unpacked + FONT_8X16_OFFSET};
const PaletteInfo palette_2 = {2, unpacked + PALETTE_2_OFFSET};
const PaletteInfo palette_16 = {16, unpacked + PALETTE_16_OFFSET};
const PaletteInfo palette_64 = {64, unpacked + PALETTE_64_OFFSET};
const PaletteInfo palette_256 = {256, unpacked + PALETTE_256_OFFSET};

void unpack_fonts() {
  if (unpacked_done) return;
  // The block is generated with the matching encoder, so the result is not
  // inspected; a failure would leave the tail of the block zero.
  int32_t length = UNPACKED_SIZE;
  unpack_data(packed_fonts, packed_fonts_size, unpacked, &length);
  unpacked_done = true;
}

}  // namespace zv
