// PUT: an image (or a rectangle of it) onto the screen's work page or into another image.
#pragma once

#include <cstdint>

#include "gfx/core/draw_context.h"
#include "gfx/image/image_buffer.h"
#include "runtime/cpu.h"

namespace zv {

constexpr int32_t PUT_MODE_XOR = 5;
constexpr int32_t PUT_MODE_ALPHA = 6;

// target null = the screen's work page. x1 == NOT_GIVEN puts the whole source. The
// coordinate mode (0-3) makes the destination and/or the source's second corner
// relative; the mode code (0-9) picks the putter cache slot. Returns 0 or error 1.
int32_t put_image(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t x1, int32_t y1,
                  int32_t x2, int32_t y2, int32_t coordinate_mode, int32_t mode_code, PutterFn putter, int32_t alpha,
                  void* blender, int32_t parameter);

// The XOR putter: picks the per-depth table once per context and passes everything on.
void put_xor_dispatch(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                      int32_t source_pitch, int32_t destination_pitch, int32_t alpha, void* blender,
                      int32_t parameter);

// Per-depth putter tables indexed by bytes per pixel (0-4; 0 and 3 empty), by vector level.
const PutterFn* xor_putters(SimdLevel level);
// Source bytes become the alpha bytes of 4-byte destination pixels.
PutterFn alpha_mask_putter(SimdLevel level);

}  // namespace zv
