// opengl32.dll and the probe: a hidden 8 x 8 window with a context of its own tells
// which extensions there are before the real window gets its pixel format.
#include <cstring>

#include "display/host/window_host.h"
#include "display/opengl/wgl/wgl_binding.h"

namespace zv {

WglState wgl;

namespace {

template <class Function, class Address>
Function as(Address address) {
  Function f;
  static_assert(sizeof f == sizeof address);
  std::memcpy(&f, &address, sizeof f);
  return f;
}

template <class Function>
Function library_function(const char* name) {
  return as<Function>(GetProcAddress(wgl.library, name));
}

// An extension's function, through wglGetProcAddress; needs a current context.
// Some drivers answer a failure with a small number instead of null.
template <class Function>
Function extension_function(const char* name) {
  if (!wgl.get_proc_address) return nullptr;
  PROC address = wgl.get_proc_address(name);
  const intptr_t value = as<intptr_t>(address);
  if (value >= -1 && value <= 3) return nullptr;
  return as<Function>(address);
}

// The fifteen OpenGL 1.1 functions are exported by the library itself.
void* gl_lookup(const char* name, void*) { return as<void*>(GetProcAddress(wgl.library, name)); }

const char* window_system_extensions(HDC dc) {
  const char* text = nullptr;
  if (wgl.extensions_arb) text = wgl.extensions_arb(dc);
  else if (wgl.extensions_ext) text = wgl.extensions_ext();
  return text ? text : "";
}

// The scratch context is current: read the texts, load the functions, decide.
bool examine(HDC dc) {
  wgl.get_proc_address = library_function<WglGetProcAddressFunction>("wglGetProcAddress");
  wgl.extensions_arb = extension_function<WglExtensionsArbFunction>("wglGetExtensionsStringARB");
  if (!wgl.extensions_arb) wgl.extensions_ext = extension_function<WglExtensionsExtFunction>("wglGetExtensionsStringEXT");
  const char* window_system_text = window_system_extensions(dc);
  if (!load_opengl_functions(gl_lookup, nullptr, &wgl.gl)) return false;
  const uint8_t* gl_text = wgl.gl.get_string()(GL_EXTENSIONS_NAME);
  opengl_extension_text(wgl.extensions, reinterpret_cast<const char*>(gl_text), window_system_text);
  if (!opengl_has_extension(wgl.extensions, "GL_EXT_bgra")) return false;
  if (opengl_has_extension(wgl.extensions, "WGL_ARB_pixel_format")) {
    wgl.choose_pixel_format = extension_function<WglChoosePixelFormatFunction>("wglChoosePixelFormatARB");
  }
  return true;
}

}  // namespace

bool wgl_load_library() {
  wgl.library = LoadLibraryA(opengl_library_name("opengl32.dll"));
  if (!wgl.library) return false;
  wgl.create_context = library_function<WglCreateContextFunction>("wglCreateContext");
  wgl.make_current = library_function<WglMakeCurrentFunction>("wglMakeCurrent");
  wgl.delete_context = library_function<WglDeleteContextFunction>("wglDeleteContext");
  if (wgl.create_context && wgl.make_current && wgl.delete_context) return true;
  wgl_free_library();
  return false;
}

void wgl_free_library() {
  if (wgl.library) FreeLibrary(wgl.library);
  wgl.library = nullptr;
  wgl.create_context = nullptr;
  wgl.make_current = nullptr;
  wgl.delete_context = nullptr;
}

bool wgl_probe() {
  HWND scratch = CreateWindowExA(0, window_host.class_name, "OpenGL setup", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                 0, 0, 8, 8, nullptr, nullptr, static_cast<HINSTANCE>(window_host.instance), nullptr);
  if (!scratch) return false;
  HDC dc = GetDC(scratch);
  PixelFormatDescription initial = opengl_initial_description();
  PIXELFORMATDESCRIPTOR description;
  static_assert(sizeof description == sizeof initial);
  std::memcpy(&description, &initial, sizeof description);
  bool ok = false;
  HGLRC context = nullptr;
  if (dc) {
    const int format = ChoosePixelFormat(dc, &description);
    if (format != 0 && SetPixelFormat(dc, format, &description)) context = wgl.create_context(dc);
    if (context && wgl.make_current(dc, context)) ok = examine(dc);
  }
  if (context) {
    wgl.make_current(nullptr, nullptr);
    wgl.delete_context(context);
  }
  if (dc) ReleaseDC(scratch, dc);
  DestroyWindow(scratch);
  return ok;
}

}  // namespace zv
