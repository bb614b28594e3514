// The "OpenGL" driver on Windows: a window whose double-buffered OpenGL context is
// current in the program's thread. There is no window thread: the window's messages
// are handled when the program flips pages.
#include <algorithm>
#include <cstring>

#include "display/host/key_polling.h"
#include "display/host/win32/win32_host.h"
#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "display/mode_list.h"
#include "display/opengl/wgl/wgl_binding.h"

namespace zv {

namespace {

constexpr LONG FRAME_STYLES = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

HWND host_window() { return static_cast<HWND>(window_host.window); }

PIXELFORMATDESCRIPTOR platform_description(const PixelFormatDescription& description) {
  PIXELFORMATDESCRIPTOR d;
  static_assert(sizeof d == sizeof description);
  std::memcpy(&d, &description, sizeof d);
  return d;
}

void restore_display_mode() {
  if (!wgl.display_mode_changed) return;
  win32_restore_display_mode();
  wgl.display_mode_changed = false;
}

// First open and every switch: the same window, re-styled, re-sized and shown.
int32_t wgl_open_hook() {
  HWND window = host_window();
  if (!window) return -1;
  const int32_t flags = window_host.flags;
  LONG style = GetWindowLongA(window, GWL_STYLE);
  int32_t x = 0, y = 0, width = window_host.width, height = window_host.height;
  UINT position_flags = SWP_FRAMECHANGED;
  if (flags & SCREEN_FULLSCREEN) {
    if (!win32_enter_display_mode(width, height, window_host.depth, window_host.refresh_rate)) return -1;
    wgl.display_mode_changed = true;
    style = (style & ~(FRAME_STYLES | WS_THICKFRAME)) | WS_POPUP;
  } else {
    style = (style | FRAME_STYLES) & ~(WS_POPUP | WS_THICKFRAME);
    if (flags & SCREEN_NO_SWITCH) style &= ~WS_MAXIMIZEBOX;
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, static_cast<DWORD>(style), FALSE);
    // The outer rectangle's left and top are negative by the frame's size.
    x = (GetSystemMetrics(SM_CXSCREEN) - outer.right) >> 1;
    y = (GetSystemMetrics(SM_CYSCREEN) - outer.bottom) >> 1;
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
    position_flags |= SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSENDCHANGING;
  }
  SetWindowLongA(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, x, y, width, height, position_flags);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  window_host.active = 1;
  if (GraphicsState* gs = graphics_state()) {
    HDC dc = GetDC(window);
    gs->refresh_rate = GetDeviceCaps(dc, VREFRESH);
    ReleaseDC(window, dc);
  }
  return 0;
}

void wgl_close_hook() {
  restore_display_mode();
  if (host_window()) ShowWindow(host_window(), SW_HIDE);
}

// The window holds no picture of ours: OpenGL draws it.
void wgl_paint_hook() {}

int32_t choose_by_attributes(const int32_t* attributes, void*) {
  int format = 0;
  UINT count = 0;
  if (!wgl.choose_pixel_format(wgl.dc, reinterpret_cast<const int*>(attributes), nullptr, 1, &format, &count)) {
    return 0;
  }
  return count >= 1 ? format : 0;
}

int32_t choose_by_description(const PixelFormatDescription* description, void*) {
  PIXELFORMATDESCRIPTOR d = platform_description(*description);
  return ChoosePixelFormat(wgl.dc, &d);
}

// The window's pixel format and a current context for it.
int32_t make_context(int32_t depth, int32_t flags) {
  OpenGLSettings& settings = opengl_settings();
  opengl_fill_defaults(&settings, depth, flags);
  OpenGLAttributes list;
  PixelFormatDescription description;
  opengl_build_request(settings, &list, &description);
  wgl.dc = GetDC(host_window());
  if (!wgl.dc) return -1;
  const OpenGLFormatChoosers choosers{wgl.choose_pixel_format ? choose_by_attributes : nullptr, choose_by_description,
                                      nullptr};
  const int32_t format = opengl_choose_format(&list, description, choosers);
  PIXELFORMATDESCRIPTOR d = platform_description(description);
  if (format == 0 || !SetPixelFormat(wgl.dc, format, &d)) return -1;
  wgl.context = wgl.create_context(wgl.dc);
  if (!wgl.context || !wgl.make_current(wgl.dc, wgl.context)) return -1;
  if (opengl_requested_samples(list) > 0) wgl.gl.enable()(GL_MULTISAMPLE_ARB_CAP);
  return 0;
}

int32_t wgl_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                         int32_t flags) {
  window_host = WindowHost{};
  wgl = WglState{};
  if (!(flags & SCREEN_OPENGL) || (flags & SCREEN_NO_FRAME)) return -1;
  if (!opengl_settings_valid(opengl_settings())) return -1;
  if (!wgl_load_library()) return -1;
  window_host.driver_open_hook = wgl_open_hook;
  window_host.driver_close_hook = wgl_close_hook;
  window_host.driver_paint_hook = wgl_paint_hook;
  set_window_system(win32_window_system());
  if (host_open(title, width, height, std::max(depth, 8), refresh_rate, flags) != 0) return -1;
  if (!wgl_probe()) return -1;
  if (create_host_window(WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 8, 8) != 0) return -1;
  if (wgl_open_hook() != 0) return -1;
  return make_context(depth, flags);
}

// Undoes whatever the open made, whichever step it stopped at.
void wgl_close_display() {
  if (wgl.library) {
    if (wgl.context) {
      wgl.make_current(nullptr, nullptr);
      wgl.delete_context(wgl.context);
      wgl.context = nullptr;
    }
    if (wgl.dc) {
      ReleaseDC(host_window(), wgl.dc);
      wgl.dc = nullptr;
    }
    restore_display_mode();
    if (host_window()) {
      DestroyWindow(host_window());
      window_host.window = nullptr;
    }
    wgl_free_library();
  }
  host_close();
}

void wgl_present_frame() {
  if (wgl.dc) SwapBuffers(wgl.dc);
}

void wgl_pump_input() {
  poll_key_state();
  pump_messages();
}

uint32_t* wgl_list_modes(int32_t depth, int32_t* count) {
  return collect_modes(depth, count, win32_display_mode, opengl_mode_matches);
}

void lock_nothing() {}

}  // namespace

const DisplayDriver opengl_driver = {
    "OpenGL",         wgl_open_display,  wgl_close_display, lock_nothing,     lock_nothing,
    nullptr,          host_wait_vblank,  host_query_mouse,  host_place_mouse, host_set_title,
    host_move_window, wgl_list_modes,    wgl_present_frame, wgl_pump_input,
};

}  // namespace zv
