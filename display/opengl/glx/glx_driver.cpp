// The "OpenGL" driver on Linux: a window whose double-buffered GLX context is current
// in the program's thread. There is no window thread: the window's events are handled
// when the program flips pages. Full screen covers the monitor as the X11 driver's
// does, with the picture unscaled in the middle.
#include <algorithm>

#include "display/host/key_polling.h"
#include "display/host/window_host.h"
#include "display/host/x11/x11_host.h"
#include "display/mode_list.h"
#include "display/opengl/glx/glx_attributes.h"
#include "display/opengl/glx/glx_binding.h"
#include "display/x11/x11_modes.h"
#include "display/x11/x11_rules.h"

namespace zv {

namespace {

// A connection this driver did not open (a window thread that never ended keeps one) stays open.
bool connected_here;

Display* display() {
  const X11Connection* c = x11_connection();
  return c ? c->display : nullptr;
}

// First open and every switch: the window is made once and re-styled after that.
int32_t glx_open_hook() {
  const X11Connection* c = x11_connection();
  if (!c || !glx.visual) return -1;
  const int32_t flags = window_host.flags;
  const ScreenRect monitor = (flags & SCREEN_FULLSCREEN) ? x11_monitor_under_pointer() : x11_screen_rect();
  const X11Placement place = x11_place(flags, window_host.width, window_host.height, monitor, x11_screen_rect(), false);
  if (!window_host.window) {
    const X11ViewVisual view{glx.visual->visual, glx.visual->depth};
    if (create_host_window(place, window_host.width, window_host.height, &view) != 0) return -1;
  } else if (x11_restyle_host_window(place) != 0) {
    return -1;
  }
  x11_prime_pointer();
  window_host.active = 1;
  if (GraphicsState* gs = graphics_state()) gs->refresh_rate = x11_refresh_rate(c->display);
  return 0;
}

void glx_close_hook() { x11_hide_host_window(); }

// The window holds no picture of ours: OpenGL draws it.
void glx_paint_hook() {}

int32_t choose_by_attributes(const int32_t* list, void*) {
  const X11Connection* c = x11_connection();
  int32_t attributes[GLX_ATTRIBUTE_CAPACITY];
  if (!glx_attributes_from_list(list, glx.multisample, attributes)) return 0;
  return glx_choose(c->display, c->screen, attributes) ? 1 : 0;
}

// As the platform chooser on Windows does, the nearest format rather than none.
int32_t choose_by_description(const PixelFormatDescription* description, void*) {
  const X11Connection* c = x11_connection();
  int32_t attributes[GLX_ATTRIBUTE_CAPACITY];
  for (bool minimal : {false, true}) {
    glx_attributes_from_description(*description, minimal, attributes);
    if (glx_choose(c->display, c->screen, attributes)) return 1;
  }
  return 0;
}

// The configuration, the window of its visual, and a current context for it.
int32_t make_window_and_context(int32_t depth, int32_t flags) {
  OpenGLSettings& settings = opengl_settings();
  opengl_fill_defaults(&settings, depth, flags);
  OpenGLAttributes list;
  PixelFormatDescription description;
  opengl_build_request(settings, &list, &description);
  const OpenGLFormatChoosers choosers{choose_by_attributes, choose_by_description, nullptr};
  if (opengl_choose_format(&list, description, choosers) == 0) return -1;
  glx.visual = glx.glx.get_visual_from_fb_config(display(), glx.config);
  if (!glx.visual || glx_open_hook() != 0) return -1;
  glx.context = glx.glx.create_new_context(display(), glx.config, GLX_RGBA_TYPE, nullptr, True);
  if (!glx.context || !glx.glx.make_current(display(), x11_host_window()->view, glx.context)) return -1;
  if (opengl_requested_samples(list) > 0) glx.gl.enable()(GL_MULTISAMPLE_ARB_CAP);
  return 0;
}

int32_t glx_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                         int32_t flags) {
  window_host = WindowHost{};
  glx = GlxState{};
  if (!(flags & SCREEN_OPENGL) || (flags & SCREEN_NO_FRAME)) return -1;
  if (width <= 0 || height <= 0 || !opengl_settings_valid(opengl_settings())) return -1;
  if (!glx_load_library()) return -1;
  connected_here = x11_connection() == nullptr;
  if (!x11_connect()) return -1;
  const X11Connection* c = x11_connection();
  if (!glx_server_ready(c->display)) return -1;
  window_host.driver_open_hook = glx_open_hook;
  window_host.driver_close_hook = glx_close_hook;
  window_host.driver_paint_hook = glx_paint_hook;
  set_window_system(x11_window_system());
  x11_input() = X11InputState{};
  if (host_open(title, width, height, std::max(depth, 8), refresh_rate, flags) != 0) return -1;
  if (!glx_probe(c->display, c->screen, c->root)) return -1;
  return make_window_and_context(depth, flags);
}

// Undoes whatever the open made, whichever step it stopped at.
void glx_close_display() {
  if (Display* d = display()) {
    if (glx.context) {
      glx.glx.make_current(d, None, nullptr);
      glx.glx.destroy_context(d, glx.context);
    }
    destroy_host_window();
    if (glx.visual) XFree(glx.visual);
  }
  glx.context = nullptr;
  glx.visual = nullptr;
  host_close();
  if (connected_here) x11_disconnect();
  connected_here = false;
}

void glx_present_frame() {
  X11Window* w = x11_host_window();
  if (glx.context && w && !w->destroyed) glx.glx.swap_buffers(display(), w->view);
}

void glx_pump_input() {
  poll_key_state();
  pump_messages();
}

uint32_t* glx_list_modes(int32_t depth, int32_t* count) { return x11_list_modes_by(depth, count, opengl_mode_matches); }

void lock_nothing() {}

}  // namespace

const DisplayDriver opengl_driver = {
    "OpenGL",         glx_open_display, glx_close_display, lock_nothing,     lock_nothing,
    nullptr,          host_wait_vblank, host_query_mouse,  host_place_mouse, host_set_title,
    host_move_window, glx_list_modes,   glx_present_frame, glx_pump_input,
};

}  // namespace zv
