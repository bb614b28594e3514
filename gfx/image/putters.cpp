// The putters: per-row loops over the byte kernels, one instance per depth and vector level.
#include <cstddef>

#include "gfx/core/byte_kernels.h"
#include "gfx/core/graphics_state.h"
#include "gfx/image/put.h"

namespace zv {

namespace {

// Callers hand in rectangles already clipped to both images.
template <int32_t Bpp, SimdLevel Level>
void put_xor(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t source_pitch,
             int32_t destination_pitch, int32_t, void*, int32_t) {
  auto xor_into = byte_kernels(Level).xor_into;
  size_t bytes = static_cast<size_t>(width) * Bpp;
  for (int32_t row = 0; row < height; ++row, source += source_pitch, destination += destination_pitch)
    xor_into(destination, source, bytes);
}

template <SimdLevel Level>
void put_alpha_mask(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                    int32_t source_pitch, int32_t destination_pitch, int32_t, void*, int32_t) {
  auto alpha_mask = byte_kernels(Level).alpha_mask;
  for (int32_t row = 0; row < height; ++row, source += source_pitch, destination += destination_pitch)
    alpha_mask(destination, source, static_cast<size_t>(width));
}

template <SimdLevel Level>
constexpr PutterFn xor_table[5] = {nullptr, put_xor<1, Level>, put_xor<2, Level>, nullptr, put_xor<4, Level>};

}  // namespace

const PutterFn* xor_putters(SimdLevel level) {
  switch (level) {
    case SIMD_AVX512:
    case SIMD_AVX2: return xor_table<SIMD_AVX2>;
    case SIMD_SSE2: return xor_table<SIMD_SSE2>;
    default: return xor_table<SIMD_NONE>;
  }
}

PutterFn alpha_mask_putter(SimdLevel level) {
  switch (level) {
    case SIMD_AVX512:
    case SIMD_AVX2: return put_alpha_mask<SIMD_AVX2>;
    case SIMD_SSE2: return put_alpha_mask<SIMD_SSE2>;
    default: return put_alpha_mask<SIMD_NONE>;
  }
}

void put_xor_dispatch(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                      int32_t source_pitch, int32_t destination_pitch, int32_t alpha, void* blender,
                      int32_t parameter) {
  DrawContext* context = get_draw_context();
  const GraphicsState* gs = current_screen;
  if (!context || !gs) return;
  const PutterFn*& table = context->putter_cache[PUT_MODE_XOR];
  if (!table) table = xor_putters(gs->flags & GS_MMX ? simd_level() : SIMD_NONE);
  int32_t bpp = context->bytes_per_pixel;
  PutterFn putter = bpp >= 0 && bpp <= 4 ? table[bpp] : nullptr;
  if (putter) putter(source, destination, width, height, source_pitch, destination_pitch, alpha, blender, parameter);
}

}  // namespace zv
