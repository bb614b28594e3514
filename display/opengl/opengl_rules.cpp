#include "display/opengl/opengl_rules.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace zv {

namespace {

// Bits per colour field and alpha bits, indexed by bytes per pixel - 1.
constexpr int32_t COLOUR_FIELD_BITS[4] = {0, 5, 8, 8};
constexpr int32_t ALPHA_BITS[4] = {0, 0, 0, 8};

constexpr int32_t DEFAULT_DEPTH_BITS = 16;
constexpr int32_t DEFAULT_STENCIL_BITS = 8;
constexpr int32_t DEFAULT_ACCUM_BITS = 32;
constexpr int32_t DEFAULT_SAMPLES = 4;

void fill(int32_t* value, int32_t default_value) {
  if (*value == 0) *value = default_value;
}

int32_t table_index(int32_t bits) { return std::min((bits + 7) / 8 - 1, 3); }

void fill_channels(int32_t i, int32_t* red, int32_t* green, int32_t* blue, int32_t* alpha) {
  fill(red, COLOUR_FIELD_BITS[i]);
  fill(green, COLOUR_FIELD_BITS[i]);
  fill(blue, COLOUR_FIELD_BITS[i]);
  fill(alpha, ALPHA_BITS[i]);
}

PixelFormatDescription window_description() {
  PixelFormatDescription d{};
  d.size = sizeof(PixelFormatDescription);
  d.version = 1;
  d.flags = PFD_WINDOW_FLAGS;
  d.pixel_type = PFD_TYPE_RGBA_PIXELS;
  return d;
}

struct ListWriter {
  OpenGLAttributes* list;
  int32_t n = 0;
  void pair(int32_t name, int32_t value) {
    list->values[n++] = name;
    list->values[n++] = value;
  }
};

}  // namespace

bool opengl_settings_valid(const OpenGLSettings& settings) {
  int32_t fields[sizeof(OpenGLSettings) / sizeof(int32_t)];
  std::memcpy(fields, &settings, sizeof fields);
  return std::all_of(std::begin(fields), std::end(fields), [](int32_t v) { return v >= 0 && v <= 255; });
}

void opengl_fill_defaults(OpenGLSettings* s, int32_t depth, int32_t flags) {
  fill(&s->colour_bits, s->red_bits + s->green_bits + s->blue_bits + s->alpha_bits);
  fill(&s->colour_bits, depth);
  fill_channels(std::max(table_index(s->colour_bits), 0), &s->red_bits, &s->green_bits, &s->blue_bits,
                &s->alpha_bits);

  fill(&s->accum_bits, s->accum_red_bits + s->accum_green_bits + s->accum_blue_bits + s->accum_alpha_bits);
  int32_t i = table_index(s->accum_bits);
  if (i < 0 && (flags & SCREEN_ACCUMULATION_BUFFER)) {
    s->accum_bits = DEFAULT_ACCUM_BITS;
    i = 3;
  }
  if (i >= 0) fill_channels(i, &s->accum_red_bits, &s->accum_green_bits, &s->accum_blue_bits, &s->accum_alpha_bits);

  fill(&s->depth_bits, DEFAULT_DEPTH_BITS);
  if (flags & SCREEN_STENCIL_BUFFER) fill(&s->stencil_bits, DEFAULT_STENCIL_BITS);
  if (flags & SCREEN_MULTISAMPLE) fill(&s->samples, DEFAULT_SAMPLES);
}

PixelFormatDescription opengl_initial_description() {
  PixelFormatDescription d = window_description();
  d.depth_bits = 32;
  return d;
}

void opengl_build_request(const OpenGLSettings& s, OpenGLAttributes* list, PixelFormatDescription* d) {
  *d = window_description();
  *list = OpenGLAttributes{};
  list->samples_at = -1;
  ListWriter w{list};
  w.pair(WGL_DRAW_TO_WINDOW_ARB, 1);
  w.pair(WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB);
  w.pair(WGL_DOUBLE_BUFFER_ARB, 1);

  // Settings are checked to fit a byte before a request is built.
  struct Field {
    int32_t name;
    int32_t value;
    uint8_t* target;
    bool always;
  };
  const Field fields[] = {
      {WGL_COLOR_BITS_ARB, s.colour_bits, &d->colour_bits, true},
      {WGL_RED_BITS_ARB, s.red_bits, &d->red_bits, true},
      {WGL_GREEN_BITS_ARB, s.green_bits, &d->green_bits, true},
      {WGL_BLUE_BITS_ARB, s.blue_bits, &d->blue_bits, true},
      {WGL_ALPHA_BITS_ARB, s.alpha_bits, &d->alpha_bits, true},
      {WGL_DEPTH_BITS_ARB, s.depth_bits, &d->depth_bits, true},
      {WGL_ACCUM_BITS_ARB, s.accum_bits, &d->accum_bits, false},
      {WGL_ACCUM_RED_BITS_ARB, s.accum_red_bits, &d->accum_red_bits, false},
      {WGL_ACCUM_GREEN_BITS_ARB, s.accum_green_bits, &d->accum_green_bits, false},
      {WGL_ACCUM_BLUE_BITS_ARB, s.accum_blue_bits, &d->accum_blue_bits, false},
      {WGL_ACCUM_ALPHA_BITS_ARB, s.accum_alpha_bits, &d->accum_alpha_bits, false},
      {WGL_STENCIL_BITS_ARB, s.stencil_bits, &d->stencil_bits, false},
  };
  for (const Field& f : fields) {
    if (!f.always && f.value == 0) continue;
    w.pair(f.name, f.value);
    *f.target = static_cast<uint8_t>(std::clamp(f.value, 0, 255));
  }
  if (s.samples != 0) {
    w.pair(WGL_SAMPLE_BUFFERS_ARB, 1);
    w.pair(WGL_SAMPLES_ARB, s.samples);
    list->samples_at = w.n - 1;
  }
  list->values[w.n] = 0;
}

int32_t opengl_requested_samples(const OpenGLAttributes& list) {
  return list.samples_at < 0 ? 0 : list.values[list.samples_at];
}

int32_t opengl_choose_format(OpenGLAttributes* list, const PixelFormatDescription& description,
                             const OpenGLFormatChoosers& choosers) {
  if (choosers.by_attributes) {
    for (;;) {
      int32_t format = choosers.by_attributes(list->values, choosers.context);
      if (format != 0) return format;
      if (list->samples_at < 0 || list->values[list->samples_at] - 2 < 0) break;
      list->values[list->samples_at] -= 2;
    }
  }
  return choosers.by_description ? choosers.by_description(&description, choosers.context) : 0;
}

void opengl_extension_text(char* buffer, const char* gl_text, const char* window_system_text) {
  constexpr int32_t limit = OPENGL_EXTENSION_TEXT_SIZE - 1;
  int32_t n = 0;
  for (const char* p = gl_text; p && *p && n < limit; ++p) buffer[n++] = *p;
  // A separator, so the last word of one text and the first of the other stay two words.
  if (window_system_text && *window_system_text && n > 0 && buffer[n - 1] != ' ' && n < limit) buffer[n++] = ' ';
  for (const char* p = window_system_text; p && *p && n < limit; ++p) buffer[n++] = *p;
  buffer[n] = 0;
  buffer[limit] = 0;
}

bool opengl_has_extension(const char* text, const char* name) {
  if (!text || !name || !*name) return false;
  const size_t length = std::strlen(name);
  for (const char* p = std::strstr(text, name); p; p = std::strstr(p + 1, name)) {
    const bool starts_word = p == text || p[-1] == ' ';
    const bool ends_word = p[length] == ' ' || p[length] == 0;
    if (starts_word && ends_word) return true;
  }
  return false;
}

bool opengl_mode_matches(int32_t depth, int32_t mode_bits) { return mode_bits == depth; }

}  // namespace zv
