// The OpenGL driver's decisions that need no window system: the defaults of the
// settings, the pixel format request in both of its forms, the fallback from many
// samples to the platform's own chooser, the extension text and its word match, and
// which display modes a depth lists.
#pragma once

#include <cstdint>

#include "display/opengl/opengl_settings.h"

namespace zv {

// A pixel format description in the platform's 40-byte layout.
struct PixelFormatDescription {
  uint16_t size;
  uint16_t version;
  uint32_t flags;
  uint8_t pixel_type;
  uint8_t colour_bits;
  uint8_t red_bits;
  uint8_t red_shift;
  uint8_t green_bits;
  uint8_t green_shift;
  uint8_t blue_bits;
  uint8_t blue_shift;
  uint8_t alpha_bits;
  uint8_t alpha_shift;
  uint8_t accum_bits;
  uint8_t accum_red_bits;
  uint8_t accum_green_bits;
  uint8_t accum_blue_bits;
  uint8_t accum_alpha_bits;
  uint8_t depth_bits;
  uint8_t stencil_bits;
  uint8_t aux_buffers;
  uint8_t layer_type;
  uint8_t reserved;
  uint32_t layer_mask;
  uint32_t visible_mask;
  uint32_t damage_mask;
};
static_assert(sizeof(PixelFormatDescription) == 40);

constexpr uint32_t PFD_FLAG_DOUBLE_BUFFER = 0x01;
constexpr uint32_t PFD_FLAG_DRAW_TO_WINDOW = 0x04;
constexpr uint32_t PFD_FLAG_SUPPORT_OPENGL = 0x20;
constexpr uint32_t PFD_WINDOW_FLAGS = PFD_FLAG_DRAW_TO_WINDOW | PFD_FLAG_SUPPORT_OPENGL | PFD_FLAG_DOUBLE_BUFFER;
constexpr uint8_t PFD_TYPE_RGBA_PIXELS = 0;

// Names of the published pixel format and multisample extensions.
constexpr int32_t WGL_DRAW_TO_WINDOW_ARB = 0x2001;
constexpr int32_t WGL_ACCELERATION_ARB = 0x2003;
constexpr int32_t WGL_DOUBLE_BUFFER_ARB = 0x2011;
constexpr int32_t WGL_COLOR_BITS_ARB = 0x2014;
constexpr int32_t WGL_RED_BITS_ARB = 0x2015;
constexpr int32_t WGL_GREEN_BITS_ARB = 0x2017;
constexpr int32_t WGL_BLUE_BITS_ARB = 0x2019;
constexpr int32_t WGL_ALPHA_BITS_ARB = 0x201B;
constexpr int32_t WGL_ACCUM_BITS_ARB = 0x201D;
constexpr int32_t WGL_ACCUM_RED_BITS_ARB = 0x201E;
constexpr int32_t WGL_ACCUM_GREEN_BITS_ARB = 0x201F;
constexpr int32_t WGL_ACCUM_BLUE_BITS_ARB = 0x2020;
constexpr int32_t WGL_ACCUM_ALPHA_BITS_ARB = 0x2021;
constexpr int32_t WGL_DEPTH_BITS_ARB = 0x2022;
constexpr int32_t WGL_STENCIL_BITS_ARB = 0x2023;
constexpr int32_t WGL_FULL_ACCELERATION_ARB = 0x2027;
constexpr int32_t WGL_SAMPLE_BUFFERS_ARB = 0x2041;
constexpr int32_t WGL_SAMPLES_ARB = 0x2042;

constexpr uint32_t GL_EXTENSIONS_NAME = 0x1F03;
constexpr uint32_t GL_MULTISAMPLE_ARB_CAP = 0x809D;

// Pairs of name and value ended by 0: 3 + 6 + 6 + 2 pairs at most.
constexpr int32_t OPENGL_ATTRIBUTE_CAPACITY = 2 * 17 + 1;
struct OpenGLAttributes {
  int32_t values[OPENGL_ATTRIBUTE_CAPACITY];
  int32_t samples_at;  // index of the sample count's value, -1 when none is asked for
};

// Every field must lie in 0-255 (the description holds bytes); false otherwise.
bool opengl_settings_valid(const OpenGLSettings& settings);

// Replaces each zero of the settings by its default for a screen of `depth` bits and
// the mode request flags.
void opengl_fill_defaults(OpenGLSettings* settings, int32_t depth, int32_t flags);

// The description the platform's chooser gets before any defaults are known: a
// double-buffered window format with a 32-bit depth buffer.
PixelFormatDescription opengl_initial_description();

// The attribute list and the description for the filled settings.
void opengl_build_request(const OpenGLSettings& settings, OpenGLAttributes* list, PixelFormatDescription* description);

// The sample count the list asks for now (0 when none).
int32_t opengl_requested_samples(const OpenGLAttributes& list);

// The two ways of choosing a pixel format. Each returns a format number, 0 for none.
struct OpenGLFormatChoosers {
  int32_t (*by_attributes)(const int32_t* attributes, void* context);  // null without the extension
  int32_t (*by_description)(const PixelFormatDescription* description, void* context);
  void* context;
};

// Asks by attributes first, lowering a sample count by 2 after each refusal while it
// stays 0 or more, then the platform's chooser. The list keeps the last count asked for.
int32_t opengl_choose_format(OpenGLAttributes* list, const PixelFormatDescription& description,
                             const OpenGLFormatChoosers& choosers);

// The OpenGL extension text followed by the window system's, in a buffer of this size
// whose last byte is always 0.
constexpr int32_t OPENGL_EXTENSION_TEXT_SIZE = 16384;
void opengl_extension_text(char* buffer, const char* gl_text, const char* window_system_text);

// Whether `name` is one of the space-separated words of `text`.
bool opengl_has_extension(const char* text, const char* name);

// The OpenGL driver lists only the modes of exactly the depth asked for.
bool opengl_mode_matches(int32_t depth, int32_t mode_bits);

}  // namespace zv
