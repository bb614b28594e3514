// libGL and the probe: a hidden 8 x 8 window with a context of its own tells which
// extensions there are before the real window is made.
#include <X11/Xutil.h>

#include <cstring>

#include "display/opengl/glx/glx_attributes.h"
#include "display/opengl/glx/glx_binding.h"

namespace zv {

GlxState glx;

namespace {

constexpr char SYSTEM_LIBRARY[] = "libGL.so.1";
platform::Library* system_library;  // loaded once, never unloaded
platform::Library* library;         // the one in use

template <class Function>
bool take(Function* f, const char* name) {
  void* address = platform::library_symbol(library, name);
  static_assert(sizeof *f == sizeof address);
  std::memcpy(f, &address, sizeof *f);
  return address != nullptr;
}

void* gl_lookup(const char* name, void*) { return platform::library_symbol(library, name); }

// The probe's context is current: read the texts, load the functions, decide.
bool examine(Display* display, int screen) {
  const char* window_system_text = glx.glx.query_extensions_string(display, screen);
  if (!load_opengl_functions(gl_lookup, nullptr, &glx.gl)) return false;
  const uint8_t* gl_text = glx.gl.get_string()(GL_EXTENSIONS_NAME);
  opengl_extension_text(glx.extensions, reinterpret_cast<const char*>(gl_text), window_system_text);
  glx.multisample = opengl_has_extension(glx.extensions, "GLX_ARB_multisample");
  return opengl_has_extension(glx.extensions, "GL_EXT_bgra");
}

}  // namespace

bool glx_load_library() {
  const char* name = opengl_library_name(SYSTEM_LIBRARY);
  if (name == SYSTEM_LIBRARY) {
    if (!system_library) system_library = platform::library_open(SYSTEM_LIBRARY);
    library = system_library;
  } else {
    library = platform::library_open(name);  // a test's stand-in, kept like the system's
  }
  if (!library) return false;
  GlxFunctions& f = glx.glx;
  return take(&f.query_extension, "glXQueryExtension") && take(&f.query_version, "glXQueryVersion") &&
         take(&f.query_extensions_string, "glXQueryExtensionsString") &&
         take(&f.choose_fb_config, "glXChooseFBConfig") &&
         take(&f.get_visual_from_fb_config, "glXGetVisualFromFBConfig") &&
         take(&f.create_new_context, "glXCreateNewContext") && take(&f.make_current, "glXMakeCurrent") &&
         take(&f.destroy_context, "glXDestroyContext") && take(&f.swap_buffers, "glXSwapBuffers");
}

bool glx_server_ready(Display* display) {
  int error_base = 0, event_base = 0, major = 0, minor = 0;
  if (!glx.glx.query_extension(display, &error_base, &event_base)) return false;
  if (!glx.glx.query_version(display, &major, &minor)) return false;
  return major > 1 || (major == 1 && minor >= 3);
}

bool glx_choose(Display* display, int screen, const int32_t* attributes) {
  int count = 0;
  GLXFBConfig* configs = glx.glx.choose_fb_config(display, screen, attributes, &count);
  if (!configs) return false;
  if (count > 0) glx.config = configs[0];
  XFree(configs);
  return count > 0;
}

bool glx_probe(Display* display, int screen, Window root) {
  int32_t attributes[GLX_ATTRIBUTE_CAPACITY];
  const PixelFormatDescription initial = opengl_initial_description();
  glx_attributes_from_description(initial, false, attributes);
  if (!glx_choose(display, screen, attributes)) {
    // Like the platform chooser on Windows, settle for the nearest rather than nothing.
    glx_attributes_from_description(initial, true, attributes);
    if (!glx_choose(display, screen, attributes)) return false;
  }
  XVisualInfo* visual = glx.glx.get_visual_from_fb_config(display, glx.config);
  if (!visual) return false;
  XSetWindowAttributes window_attributes{};
  window_attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  window_attributes.border_pixel = 0;
  Window scratch = XCreateWindow(display, root, 0, 0, 8, 8, 0, visual->depth, InputOutput, visual->visual,
                                 CWColormap | CWBorderPixel, &window_attributes);
  bool ok = false;
  if (scratch) {
    XStoreName(display, scratch, "OpenGL setup");
    GLXContext context = glx.glx.create_new_context(display, glx.config, GLX_RGBA_TYPE, nullptr, True);
    if (context && glx.glx.make_current(display, scratch, context)) {
      ok = examine(display, screen);
      glx.glx.make_current(display, None, nullptr);
    }
    if (context) glx.glx.destroy_context(display, context);
    XDestroyWindow(display, scratch);
  }
  XFreeColormap(display, window_attributes.colormap);
  XFree(visual);
  XSync(display, False);
  return ok;
}

}  // namespace zv
