#include "display/opengl/glx/glx_attributes.h"

#include <GL/glx.h>

namespace zv {

namespace {

struct Writer {
  int32_t* out;
  int32_t n = 0;
  void pair(int32_t name, int32_t value) {
    out[n++] = name;
    out[n++] = value;
  }
  // Every request is for a window of a TrueColor visual with RGBA pixels.
  void window_requirements() {
    pair(GLX_X_RENDERABLE, True);
    pair(GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT);
    pair(GLX_RENDER_TYPE, GLX_RGBA_BIT);
    pair(GLX_X_VISUAL_TYPE, GLX_TRUE_COLOR);
  }
  void end() { out[n] = None; }
};

// The GLX name for a WGL name whose value carries over as it is; 0 for none.
int32_t same_value_name(int32_t name) {
  switch (name) {
    case WGL_DOUBLE_BUFFER_ARB: return GLX_DOUBLEBUFFER;
    case WGL_COLOR_BITS_ARB: return GLX_BUFFER_SIZE;
    case WGL_RED_BITS_ARB: return GLX_RED_SIZE;
    case WGL_GREEN_BITS_ARB: return GLX_GREEN_SIZE;
    case WGL_BLUE_BITS_ARB: return GLX_BLUE_SIZE;
    case WGL_ALPHA_BITS_ARB: return GLX_ALPHA_SIZE;
    case WGL_DEPTH_BITS_ARB: return GLX_DEPTH_SIZE;
    case WGL_STENCIL_BITS_ARB: return GLX_STENCIL_SIZE;
    case WGL_ACCUM_RED_BITS_ARB: return GLX_ACCUM_RED_SIZE;
    case WGL_ACCUM_GREEN_BITS_ARB: return GLX_ACCUM_GREEN_SIZE;
    case WGL_ACCUM_BLUE_BITS_ARB: return GLX_ACCUM_BLUE_SIZE;
    case WGL_ACCUM_ALPHA_BITS_ARB: return GLX_ACCUM_ALPHA_SIZE;
    case WGL_SAMPLE_BUFFERS_ARB: return GLX_SAMPLE_BUFFERS;
    case WGL_SAMPLES_ARB: return GLX_SAMPLES;
    default: return 0;
  }
}

}  // namespace

bool glx_attributes_from_list(const int32_t* list, bool multisample, int32_t out[GLX_ATTRIBUTE_CAPACITY]) {
  Writer w{out};
  w.window_requirements();
  for (int32_t i = 0; i + 1 < OPENGL_ATTRIBUTE_CAPACITY && list[i] != 0; i += 2) {
    const int32_t name = list[i];
    const int32_t value = list[i + 1];
    if ((name == WGL_SAMPLE_BUFFERS_ARB || name == WGL_SAMPLES_ARB) && !multisample) return false;
    if (name == WGL_ACCELERATION_ARB) {
      w.pair(GLX_CONFIG_CAVEAT, value == WGL_FULL_ACCELERATION_ARB ? GLX_NONE : static_cast<int32_t>(GLX_DONT_CARE));
    } else if (int32_t glx_name = same_value_name(name)) {
      w.pair(glx_name, value);
    }
  }
  w.end();
  return true;
}

void glx_attributes_from_description(const PixelFormatDescription& d, bool minimal,
                                     int32_t out[GLX_ATTRIBUTE_CAPACITY]) {
  Writer w{out};
  w.window_requirements();
  w.pair(GLX_DOUBLEBUFFER, (d.flags & PFD_FLAG_DOUBLE_BUFFER) ? True : False);
  if (!minimal) {
    const struct {
      int32_t name;
      uint8_t value;
    } sizes[] = {
        {GLX_BUFFER_SIZE, d.colour_bits},         {GLX_RED_SIZE, d.red_bits},
        {GLX_GREEN_SIZE, d.green_bits},           {GLX_BLUE_SIZE, d.blue_bits},
        {GLX_ALPHA_SIZE, d.alpha_bits},           {GLX_DEPTH_SIZE, d.depth_bits},
        {GLX_STENCIL_SIZE, d.stencil_bits},       {GLX_ACCUM_RED_SIZE, d.accum_red_bits},
        {GLX_ACCUM_GREEN_SIZE, d.accum_green_bits}, {GLX_ACCUM_BLUE_SIZE, d.accum_blue_bits},
        {GLX_ACCUM_ALPHA_SIZE, d.accum_alpha_bits},
    };
    for (const auto& s : sizes) {
      if (s.value != 0) w.pair(s.name, s.value);
    }
  }
  w.end();
}

}  // namespace zv
