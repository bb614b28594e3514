// Per-depth pixel, span and copy operations, one instance per pixel type and vector level.
#include "gfx/core/pixel_ops.h"

#include <cstddef>
#include <cstring>

#include "gfx/core/byte_kernels.h"
#include "gfx/core/graphics_state.h"

namespace zv {

DepthOps depth_ops;

namespace {

// Pixels go through memcpy: rows of caller-made images need not be aligned.
template <class Pixel>
void put_pixel(DrawContext* context, int32_t x, int32_t y, uint32_t colour) {
  Pixel value = static_cast<Pixel>(colour);
  std::memcpy(context->rows[y] + static_cast<ptrdiff_t>(x) * sizeof(Pixel), &value, sizeof(Pixel));
}

template <class Pixel>
uint32_t get_pixel(DrawContext* context, int32_t x, int32_t y) {
  Pixel value;
  std::memcpy(&value, context->rows[y] + static_cast<ptrdiff_t>(x) * sizeof(Pixel), sizeof(Pixel));
  return value;
}

// The colour repeated over four bytes, so one pattern fill serves every depth.
template <class Pixel>
constexpr uint32_t pixel_pattern(uint32_t colour) {
  if constexpr (sizeof(Pixel) == 1) return (colour & 0xFF) * 0x01010101u;
  if constexpr (sizeof(Pixel) == 2) return (colour & 0xFFFF) * 0x00010001u;
  return colour;
}

template <class Pixel, SimdLevel Level>
void fill_span(void* address, uint32_t colour, int32_t count) {
  if (count <= 0) return;
  byte_kernels(Level).fill(static_cast<uint8_t*>(address), pixel_pattern<Pixel>(colour),
                           static_cast<size_t>(count) * sizeof(Pixel));
}

template <SimdLevel Level>
void blend_span(void* address, uint32_t colour, int32_t count) {
  if (count > 0) byte_kernels(Level).blend(static_cast<uint8_t*>(address), colour, static_cast<size_t>(count));
}

void blend_pixel(DrawContext* context, int32_t x, int32_t y, uint32_t colour) {
  uint8_t* at = context->rows[y] + static_cast<ptrdiff_t>(x) * 4;
  uint32_t d;
  std::memcpy(&d, at, 4);
  d = blend_pixel_value(d, colour);
  std::memcpy(at, &d, 4);
}

template <SimdLevel Level>
void* copy_bytes(void* destination, const void* source, size_t count) {
  byte_kernels(Level).copy(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), count);
  return destination;
}

template <SimdLevel Level>
void* fill_bytes(void* destination, int value, size_t count) {
  byte_kernels(Level).fill(static_cast<uint8_t*>(destination), (static_cast<uint32_t>(value) & 0xFF) * 0x01010101u,
                           count);
  return destination;
}

template <class Pixel, SimdLevel Level>
void copy_pixels(void* destination, const void* source, int32_t count) {
  if (count > 0) copy_bytes<Level>(destination, source, static_cast<size_t>(count) * sizeof(Pixel));
}

// The set for one pixel type and level, without blending (set_depth_ops adds it).
template <class Pixel, SimdLevel Level>
constexpr DepthOps make_ops() {
  DepthOps ops{};
  ops.copy_bytes = copy_bytes<Level>;
  ops.fill_bytes = fill_bytes<Level>;
  ops.put_pixel = put_pixel<Pixel>;
  ops.get_pixel = get_pixel<Pixel>;
  ops.fill_span = fill_span<Pixel, Level>;
  ops.blend_put_pixel = ops.put_pixel;
  ops.blend_fill_span = ops.fill_span;
  ops.copy_pixels = copy_pixels<Pixel, Level>;
  ops.current_plain_fill = ops.fill_span;
  return ops;
}

template <SimdLevel Level>
constexpr DepthOps level_ops[3] = {make_ops<uint8_t, Level>(), make_ops<uint16_t, Level>(),
                                   make_ops<uint32_t, Level>()};

constexpr const DepthOps* ops_by_level[SIMD_LEVEL_COUNT] = {level_ops<SIMD_NONE>, level_ops<SIMD_SSE2>,
                                                            level_ops<SIMD_AVX2>};
constexpr FillSpanFn blend_span_by_level[SIMD_LEVEL_COUNT] = {blend_span<SIMD_NONE>, blend_span<SIMD_SSE2>,
                                                              blend_span<SIMD_AVX2>};

}  // namespace

void set_depth_ops(int32_t bytes_per_pixel) {
  SimdLevel level = simd_at_most(simd_level(), SIMD_AVX2);
  GraphicsState* gs = current_screen;
  if (gs) {
    if (level != SIMD_NONE)
      gs->flags |= GS_MMX;
    else
      gs->flags &= ~GS_MMX;
  }
  int32_t index = bytes_per_pixel == 1 ? 0 : bytes_per_pixel == 2 ? 1 : 2;  // anything else is 4 bytes
  depth_ops = ops_by_level[level][index];
  if (index == 2 && gs && (gs->flags & GS_ALPHA_PRIMITIVES)) {
    depth_ops.blend_put_pixel = blend_pixel;
    depth_ops.blend_fill_span = blend_span_by_level[level];
  }
  depth_ops.current_plain_fill = depth_ops.fill_span;
}

uint32_t rgb_to_565(int32_t bytes_per_pixel, uint32_t colour, uint32_t red, uint32_t green, uint32_t blue) {
  if (bytes_per_pixel != 2) return colour;
  return ((blue & 0xFF) >> 3) | ((green & 0xFC) << 3) | ((red & 0xF8) << 8);
}

uint32_t convert_colour(int32_t bytes_per_pixel, uint32_t colour) {
  colour = rgb_to_565(bytes_per_pixel, colour, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
  if (bytes_per_pixel == 1) return colour & 0xFF;
  if (bytes_per_pixel == 2) return colour & 0xFFFF;
  return colour;
}

}  // namespace zv
