// Off-screen images: a header followed by rows of pixels in one block.
#pragma once

#include <cstdint>

namespace zv {

constexpr uint32_t IMAGE_TYPE_CURRENT = 7;
constexpr int32_t IMAGE_HEADER_SIZE = 32;
constexpr int32_t IMAGE_SHORT_HEADER_SIZE = 4;

// The current (32-byte) header. An image whose first word is not 7 carries the
// 4-byte short header instead: width << 3 | bytes per pixel, then the height.
struct ImageBuffer {
  uint32_t type;
  int32_t bytes_per_pixel;
  int32_t width;
  int32_t height;
  int32_t pitch;
  uint32_t reserved;
  uint8_t reserved_zero[8];
};
static_assert(sizeof(ImageBuffer) == IMAGE_HEADER_SIZE);

}  // namespace zv
