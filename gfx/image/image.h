// Creating, destroying and reading off-screen images.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/image/image_buffer.h"

namespace zv {

// A new image of the given size, filled with colour (0xRRGGBB on 16/32-bit images), or
// null. depth <= 0 means the screen's; colour_flag < 0 fills with the depth's default
// colour instead (0, 0xF81F, 0xFFFF00FF). Needs an open screen. The image becomes the
// drawing target until the next drawing operation selects another.
ImageBuffer* image_create(int32_t width, int32_t height, uint32_t colour, int32_t depth, int32_t colour_flag);
// Releases an image; if it is the drawing target, the screen becomes the target.
void image_destroy(ImageBuffer* image);

// What either header form says about an image.
struct ImageGeometry {
  int32_t bytes_per_pixel;
  int32_t width;
  int32_t height;
  int32_t pitch;
  int32_t header_size;
  uint8_t* pixels;
};

// Reads the header; a short header whose depth bits are 0 takes fallback_bytes_per_pixel.
// False for a header nothing can be drawn from or into: a depth other than 1, 2 or 4,
// no rows or columns, rows shorter than their pixels, or, for an image made by
// image_create, rows reaching past its block.
bool image_geometry(const ImageBuffer* image, int32_t fallback_bytes_per_pixel, ImageGeometry* out);

// The block size image_create recorded for an image, 0 for any other pointer.
size_t image_block_size(const ImageBuffer* image);

}  // namespace zv
