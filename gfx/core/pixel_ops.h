// Pixel, span and copy operations by bytes per pixel, chosen once per depth change.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/core/draw_context.h"

namespace zv {

using CopyBytesFn = void* (*)(void* destination, const void* source, size_t count);
using FillBytesFn = void* (*)(void* destination, int value, size_t count);
using CopyPixelsFn = void (*)(void* destination, const void* source, int32_t count);

struct DepthOps {
  CopyBytesFn copy_bytes;
  FillBytesFn fill_bytes;
  PutPixelFn put_pixel;
  GetPixelFn get_pixel;
  FillSpanFn fill_span;
  PutPixelFn blend_put_pixel;
  FillSpanFn blend_fill_span;
  CopyPixelsFn copy_pixels;
  FillSpanFn current_plain_fill;
};

// The installed set (process-wide).
extern DepthOps depth_ops;

void set_depth_ops(int32_t bytes_per_pixel);
uint32_t convert_colour(int32_t bytes_per_pixel, uint32_t colour);
uint32_t rgb_to_565(int32_t bytes_per_pixel, uint32_t colour, uint32_t red, uint32_t green, uint32_t blue);

}  // namespace zv
