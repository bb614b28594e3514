// The OpenGL functions the driver loads by name.
#pragma once

#include <cstdint>

// OpenGL's own calling convention (it differs from the C one on 32-bit Windows).
#if defined(_WIN32)
#define ZV_GL_CALL __stdcall
#else
#define ZV_GL_CALL
#endif

namespace zv {

// Every one of them must be there for an open to succeed; only glEnable and
// glGetString are called by the driver.
constexpr int32_t OPENGL_FUNCTION_COUNT = 15;
constexpr const char* OPENGL_FUNCTION_NAMES[OPENGL_FUNCTION_COUNT] = {
    "glEnable",      "glDisable",  "glGetString",   "glViewport",      "glMatrixMode",
    "glLoadIdentity", "glOrtho",   "glShadeModel",  "glDepthMask",     "glClearColor",
    "glClear",       "glGenTextures", "glDeleteTextures", "glBindTexture", "glTexImage2D",
};

using GlEnableFunction = void(ZV_GL_CALL*)(uint32_t capability);
using GlGetStringFunction = const uint8_t*(ZV_GL_CALL*)(uint32_t name);

struct OpenGLFunctions {
  void* entries[OPENGL_FUNCTION_COUNT];  // in the order of OPENGL_FUNCTION_NAMES
  GlEnableFunction enable() const;
  GlGetStringFunction get_string() const;
};

// Looks every name up through `lookup`; false, with the table cleared, when one is missing.
bool load_opengl_functions(void* (*lookup)(const char* name, void* context), void* context, OpenGLFunctions* out);

}  // namespace zv
