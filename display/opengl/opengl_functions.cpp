#include "display/opengl/opengl_functions.h"
#include "display/opengl/opengl_driver.h"

#include <cstring>

namespace zv {

namespace {

const char* library_override = nullptr;

template <class Function>
Function entry(const OpenGLFunctions& functions, int32_t index) {
  Function f;
  static_assert(sizeof f == sizeof(void*));
  std::memcpy(&f, &functions.entries[index], sizeof f);
  return f;
}

}  // namespace

GlEnableFunction OpenGLFunctions::enable() const { return entry<GlEnableFunction>(*this, 0); }
GlGetStringFunction OpenGLFunctions::get_string() const { return entry<GlGetStringFunction>(*this, 2); }

bool load_opengl_functions(void* (*lookup)(const char* name, void* context), void* context, OpenGLFunctions* out) {
  for (int32_t i = 0; i < OPENGL_FUNCTION_COUNT; ++i) {
    out->entries[i] = lookup(OPENGL_FUNCTION_NAMES[i], context);
    if (!out->entries[i]) {
      *out = OpenGLFunctions{};
      return false;
    }
  }
  return true;
}

const char* opengl_library_name(const char* system_name) { return library_override ? library_override : system_name; }
void set_opengl_library_name(const char* name) { library_override = name; }

}  // namespace zv
