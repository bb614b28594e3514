// The OpenGL driver's state on Windows: opengl32.dll with its window-system functions,
// the window's device and rendering contexts, and the probe that runs before the window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/opengl/opengl_driver.h"
#include "display/opengl/opengl_functions.h"
#include "display/opengl/opengl_rules.h"

namespace zv {

using WglCreateContextFunction = HGLRC(WINAPI*)(HDC);
using WglMakeCurrentFunction = BOOL(WINAPI*)(HDC, HGLRC);
using WglDeleteContextFunction = BOOL(WINAPI*)(HGLRC);
using WglGetProcAddressFunction = PROC(WINAPI*)(LPCSTR);
using WglExtensionsArbFunction = const char*(WINAPI*)(HDC);
using WglExtensionsExtFunction = const char*(WINAPI*)();
using WglChoosePixelFormatFunction = BOOL(WINAPI*)(HDC, const int*, const FLOAT*, UINT, int*, UINT*);

struct WglState {
  HMODULE library;
  WglCreateContextFunction create_context;
  WglMakeCurrentFunction make_current;
  WglDeleteContextFunction delete_context;
  WglGetProcAddressFunction get_proc_address;
  WglExtensionsArbFunction extensions_arb;
  WglExtensionsExtFunction extensions_ext;
  WglChoosePixelFormatFunction choose_pixel_format;  // null without WGL_ARB_pixel_format
  HDC dc;
  HGLRC context;
  bool display_mode_changed;
  OpenGLFunctions gl;
  char extensions[OPENGL_EXTENSION_TEXT_SIZE];
};

extern WglState wgl;

// Loads opengl32.dll and its three context functions; false (nothing kept) when any is missing.
bool wgl_load_library();
void wgl_free_library();

// Opens a scratch window with a context to learn the extensions and load the functions;
// true when everything is there and "GL_EXT_bgra" is offered. Leaves nothing behind.
bool wgl_probe();

}  // namespace zv
