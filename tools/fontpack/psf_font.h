// Reading PSF1 console fonts (the first 256 glyphs).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fontpack {

// Reads the first 256 glyphs of a PSF1 file whose glyphs are `height` rows
// high. Rows come back as the block stores them: bit 0 the leftmost pixel
// (PSF keeps the leftmost pixel in bit 7). False with a message on failure.
bool read_psf1(const std::string& path, int height, std::vector<uint8_t>& glyphs, std::string& error);

constexpr uint8_t reverse_bits(uint8_t b) {
  uint8_t r = 0;
  for (int i = 0; i < 8; ++i) r = static_cast<uint8_t>(r | (((b >> i) & 1) << (7 - i)));
  return r;
}

}  // namespace fontpack
