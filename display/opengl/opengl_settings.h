// What a program asks of an OpenGL screen before it opens one: buffer sizes and samples,
// and the mode request flags that only the OpenGL driver reads.
#pragma once

#include <cstdint>

namespace zv {

// Mode request flags read only by the OpenGL driver (with SCREEN_OPENGL).
constexpr int32_t SCREEN_STENCIL_BUFFER = 0x10000;       // a stencil buffer (8 bits unless set)
constexpr int32_t SCREEN_ACCUMULATION_BUFFER = 0x20000;  // an accumulation buffer (32 bits unless set)
constexpr int32_t SCREEN_MULTISAMPLE = 0x40000;          // multisampling (4 samples unless set)

// Bits of each buffer; 0 lets the driver choose. Every open replaces the zeros by its
// defaults and keeps them, so the values an open settled on stay for the next one.
struct OpenGLSettings {
  int32_t colour_bits;
  int32_t red_bits;
  int32_t green_bits;
  int32_t blue_bits;
  int32_t alpha_bits;
  int32_t depth_bits;
  int32_t stencil_bits;
  int32_t accum_bits;
  int32_t accum_red_bits;
  int32_t accum_green_bits;
  int32_t accum_blue_bits;
  int32_t accum_alpha_bits;
  int32_t samples;
};
static_assert(sizeof(OpenGLSettings) == 13 * 4);

// The settings the next OpenGL screen is opened with; set fields before the mode set.
OpenGLSettings& opengl_settings();

}  // namespace zv
