// The OpenGL driver's state on Linux: libGL's GLX functions, the chosen frame buffer
// configuration with its visual, the context, and the probe that runs before the window.
#pragma once

#include <GL/glx.h>

#include <cstdint>

#include "display/opengl/opengl_driver.h"
#include "display/opengl/opengl_functions.h"
#include "display/opengl/opengl_rules.h"
#include "platform/platform.h"

namespace zv {

struct GlxFunctions {
  Bool (*query_extension)(Display*, int*, int*);
  Bool (*query_version)(Display*, int*, int*);
  const char* (*query_extensions_string)(Display*, int);
  GLXFBConfig* (*choose_fb_config)(Display*, int, const int*, int*);
  XVisualInfo* (*get_visual_from_fb_config)(Display*, GLXFBConfig);
  GLXContext (*create_new_context)(Display*, GLXFBConfig, int, GLXContext, Bool);
  Bool (*make_current)(Display*, GLXDrawable, GLXContext);
  void (*destroy_context)(Display*, GLXContext);
  void (*swap_buffers)(Display*, GLXDrawable);
};

struct GlxState {
  GlxFunctions glx;
  GLXFBConfig config;    // the last configuration a chooser found
  XVisualInfo* visual;   // of the window's configuration
  GLXContext context;
  bool multisample;      // the server offers GLX_ARB_multisample
  OpenGLFunctions gl;
  char extensions[OPENGL_EXTENSION_TEXT_SIZE];
};

extern GlxState glx;

// Loads libGL and its GLX functions; false when the library or a function is missing.
// The library stays loaded for the process: the X connection's close calls into it.
bool glx_load_library();

// Whether the connected server speaks GLX 1.3 or later.
bool glx_server_ready(Display* display);

// Chooses a configuration for a GLX attribute list into glx.config; false for none.
bool glx_choose(Display* display, int screen, const int32_t* attributes);

// Opens a scratch window with a context to learn the extensions and load the functions;
// true when everything is there and "GL_EXT_bgra" is offered. Leaves nothing behind.
bool glx_probe(Display* display, int screen, Window root);

}  // namespace zv
