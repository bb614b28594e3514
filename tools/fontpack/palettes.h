// The four default palettes, computed from their rules.
#pragma once

#include <cstdint>
#include <vector>

namespace fontpack {

// A 6-bit VGA DAC value widened to 8 bits, rounded down: 63 -> 255, 32 -> 129.
constexpr uint8_t widen6(int v) { return static_cast<uint8_t>(v * 255 / 63); }

// Appends the 2-, 16-, 64- and 256-colour palettes in that order, each colour
// as red, green, blue.
void append_default_palettes(std::vector<uint8_t>& block);

}  // namespace fontpack
