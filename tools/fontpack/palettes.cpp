#include "palettes.h"

#include <array>

namespace fontpack {
namespace {

struct Rgb6 {
  int r, g, b;
};

// The CGA/EGA text colours in 6-bit DAC values; also the first 16 entries of
// the VGA default palette.
constexpr Rgb6 TEXT_COLOURS[16] = {
    {0, 0, 0},    {0, 0, 42},   {0, 42, 0},   {0, 42, 42},  {42, 0, 0},   {42, 0, 42},
    {42, 21, 0},  {42, 42, 42}, {21, 21, 21}, {21, 21, 63}, {21, 63, 21}, {21, 63, 63},
    {63, 21, 21}, {63, 21, 63}, {63, 63, 21}, {63, 63, 63},
};

constexpr int GREY_LEVELS[16] = {0, 5, 8, 11, 14, 17, 20, 24, 28, 32, 36, 40, 45, 50, 56, 63};

// The VGA hue ramps: three intensities, each at three saturations. Each ramp
// runs from its low value (the saturation) to its high value (the intensity)
// in five steps.
constexpr std::array<int, 5> HUE_RAMPS[9] = {
    {0, 16, 31, 47, 63}, {31, 39, 47, 55, 63}, {45, 49, 54, 58, 63},
    {0, 7, 14, 21, 28},  {14, 17, 21, 24, 28}, {20, 22, 24, 26, 28},
    {0, 4, 8, 12, 16},   {8, 10, 12, 14, 16},  {11, 12, 13, 15, 16},
};

void append(std::vector<uint8_t>& block, Rgb6 c) {
  block.push_back(widen6(c.r));
  block.push_back(widen6(c.g));
  block.push_back(widen6(c.b));
}

// 24 hues round the colour wheel: blue, magenta, red, yellow, green, cyan and
// back, each sixth of the way one component rising or falling over the ramp.
void append_hue_ramp(std::vector<uint8_t>& block, const std::array<int, 5>& v) {
  const int lo = v[0], hi = v[4];
  for (int i = 0; i < 4; ++i) append(block, {v[i], lo, hi});      // blue -> magenta
  for (int i = 4; i > 0; --i) append(block, {hi, lo, v[i]});      // magenta -> red
  for (int i = 0; i < 4; ++i) append(block, {hi, v[i], lo});      // red -> yellow
  for (int i = 4; i > 0; --i) append(block, {v[i], hi, lo});      // yellow -> green
  for (int i = 0; i < 4; ++i) append(block, {lo, hi, v[i]});      // green -> cyan
  for (int i = 4; i > 0; --i) append(block, {lo, v[i], hi});      // cyan -> blue
}

}  // namespace

void append_default_palettes(std::vector<uint8_t>& block) {
  append(block, {0, 0, 0});
  append(block, {63, 63, 63});

  for (const Rgb6& c : TEXT_COLOURS) append(block, c);

  // EGA rule: bits 2, 1, 0 give 2/3 of red, green, blue; bits 5, 4, 3 a further 1/3.
  for (int i = 0; i < 64; ++i) {
    auto component = [i](int high_bit, int low_bit) { return 42 * ((i >> high_bit) & 1) + 21 * ((i >> low_bit) & 1); };
    append(block, {component(2, 5), component(1, 4), component(0, 3)});
  }

  for (const Rgb6& c : TEXT_COLOURS) append(block, c);
  for (int level : GREY_LEVELS) append(block, {level, level, level});
  for (const auto& ramp : HUE_RAMPS) append_hue_ramp(block, ramp);
  for (int i = 0; i < 8; ++i) append(block, {0, 0, 0});
}

}  // namespace fontpack
