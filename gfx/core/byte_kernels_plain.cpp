// The plain byte loops: the reference every vectorised set must match.
#include <cstring>

#include "gfx/core/byte_kernels.h"

namespace zv {

namespace {

void copy_plain(uint8_t* destination, const uint8_t* source, size_t bytes) {
  if (bytes) std::memcpy(destination, source, bytes);
}

void fill_plain(uint8_t* destination, uint32_t pattern, size_t bytes) {
  if (pattern == (pattern & 0xFF) * 0x01010101u) {
    if (bytes) std::memset(destination, static_cast<int>(pattern & 0xFF), bytes);
    return;
  }
  size_t i = 0;
  for (; i + 4 <= bytes; i += 4) std::memcpy(destination + i, &pattern, 4);
  for (size_t k = 0; i < bytes; ++i, ++k) destination[i] = static_cast<uint8_t>(pattern >> (8 * k));
}

// One byte, one 16-bit word, then 32-bit words, as the count's low bits require.
void xor_plain(uint8_t* destination, const uint8_t* source, size_t bytes) {
  if (bytes & 1) {
    *destination++ ^= *source++;
  }
  if (bytes & 2) {
    uint16_t d, s;
    std::memcpy(&d, destination, 2);
    std::memcpy(&s, source, 2);
    d ^= s;
    std::memcpy(destination, &d, 2);
    destination += 2;
    source += 2;
  }
  for (size_t words = bytes >> 2; words; --words, destination += 4, source += 4) {
    uint32_t d, s;
    std::memcpy(&d, destination, 4);
    std::memcpy(&s, source, 4);
    d ^= s;
    std::memcpy(destination, &d, 4);
  }
}

void blend_plain(uint8_t* destination, uint32_t colour, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, destination += 4) {
    uint32_t d;
    std::memcpy(&d, destination, 4);
    d = blend_pixel_value(d, colour);
    std::memcpy(destination, &d, 4);
  }
}

void alpha_mask_plain(uint8_t* destination, const uint8_t* source, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) destination[4 * i + 3] = source[i];
}

}  // namespace

const ByteKernels plain_kernels = {copy_plain, fill_plain, xor_plain, blend_plain, alpha_mask_plain};

}  // namespace zv
