// The byte-level loops under every per-depth operation, in one set per vector level.
// All sets give the same bytes; the vectorised ones only go faster.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/cpu.h"

namespace zv {

struct ByteKernels {
  void (*copy)(uint8_t* destination, const uint8_t* source, size_t bytes);  // no overlap
  // Writes the 4-byte pattern over and over from destination on; bytes is any count.
  void (*fill)(uint8_t* destination, uint32_t pattern, size_t bytes);
  void (*xor_into)(uint8_t* destination, const uint8_t* source, size_t bytes);
  // Blends one 0xAARRGGBB colour into 4-byte pixels by its alpha; the result keeps the colour's alpha.
  void (*blend)(uint8_t* destination, uint32_t colour, size_t pixels);
  // Each source byte becomes the alpha (highest) byte of one 4-byte destination pixel.
  void (*alpha_mask)(uint8_t* destination, const uint8_t* source, size_t pixels);
};

constexpr int32_t SIMD_LEVEL_COUNT = 3;

extern const ByteKernels plain_kernels;
// The set of a vector level; a level the build cannot vectorise gives the plain loops.
const ByteKernels& byte_kernels(SimdLevel level);

// One channel of a blend: d + (((s - d) * a) >> 8), the shift rounding toward minus infinity.
constexpr uint32_t blend_channel(uint32_t d, uint32_t s, uint32_t a) {
  return static_cast<uint32_t>(static_cast<int32_t>(d) +
                               ((static_cast<int32_t>(s) - static_cast<int32_t>(d)) * static_cast<int32_t>(a) >> 8));
}

// The blend of one pixel: colour channels blended, alpha byte taken from the colour.
constexpr uint32_t blend_pixel_value(uint32_t destination, uint32_t colour) {
  uint32_t a = colour >> 24;
  uint32_t r = blend_channel((destination >> 16) & 0xFF, (colour >> 16) & 0xFF, a);
  uint32_t g = blend_channel((destination >> 8) & 0xFF, (colour >> 8) & 0xFF, a);
  uint32_t b = blend_channel(destination & 0xFF, colour & 0xFF, a);
  return (colour & 0xFF000000u) | r << 16 | g << 8 | b;
}

}  // namespace zv
