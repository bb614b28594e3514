// The DirectX driver on X: in full screen it switches the output under the program to a
// mode of the picture's width (the mode search of the Windows driver), shows the picture
// centred in it and brings the old mode back on every way out; in a window it behaves
// like the X11 driver. Its window thread converts the changed rows into an image of the
// window's format every 10 ms, waits for the vertical blank when asked, reads the held
// keys from the server's keymap and rebuilds itself when someone else changes the mode.
#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display/blit/blit.h"
#include "display/directdraw/ddraw_driver.h"
#include "display/directdraw/ddraw_rules.h"
#include "display/directdraw/x11/x11_key_device.h"
#include "display/directdraw/x11/x11_mode_guard.h"
#include "display/directdraw/x11/x11_mode_switch.h"
#include "display/directdraw/x11/x11_vblank.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/window_host.h"
#include "display/host/x11/x11_host.h"
#include "display/x11/x11_modes.h"
#include "display/x11/x11_surface.h"
#include "platform/platform.h"

namespace zv {

namespace {

constexpr int32_t TRUE_COLOUR_CLASS = 4;  // TrueColor
constexpr int32_t VBLANK_WAIT_MS = 20;
constexpr int32_t PRESENT_WAIT_MS = 100;  // longer than any refresh period

struct XDdrawState {
  X11Surface surface;
  X11ModeSwitch modes;
  bool switched;  // a mode of ours is on the output
  int32_t row_offset;
  int32_t mode_height;
  int32_t surface_bits;
  // Kept across closes: where a window comes back, and which output full screen takes.
  int32_t window_left, window_top;
  int32_t target_x, target_y;
};

XDdrawState dx;
platform::Event* vblank_event = nullptr;  // signalled after each vertical blank that wait_vblank saw
std::atomic<int32_t> vblank_pending{0};
std::atomic<bool> thread_alive{false};

bool full_screen() { return (window_host.flags & SCREEN_FULLSCREEN) != 0; }

int32_t set_mode(void* context, int32_t width, int32_t height, int32_t, int32_t refresh_rate, int32_t) {
  // The depth of an X screen is fixed: every depth is converted into it.
  const X11Connection* c = x11_connection();
  return x11_switch_mode(c->display, c->root, static_cast<X11ModeSwitch*>(context), width, height, refresh_rate);
}

// Switches the output that holds the target point; the placement of the picture in it.
int32_t enter_full_screen(const X11Connection& c, X11Placement* place) {
  if (!x11_find_crtc(c.display, c.root, dx.target_x, dx.target_y, &dx.modes)) return -1;
  const int32_t h = ddraw_search_mode(window_host.width, window_host.height, window_host.depth,
                                      window_host.refresh_rate, set_mode, &dx.modes);
  if (h < 0) return -1;
  dx.switched = true;
  dx.mode_height = h;
  // Without the guard a signal could leave the desktop in our mode: better no full screen.
  if (!x11_guard_arm(dx.modes)) return -1;
  dx.row_offset = ddraw_row_offset(h, window_host.height);
  const ScreenRect& area = dx.modes.area;
  place->frame = area;
  place->view_x = ((area.right - area.left) - window_host.width) >> 1;
  place->view_y = dx.row_offset;
  place->scale = 1;
  place->view_width = window_host.width;
  place->view_height = window_host.height;
  return 0;
}

// The conversion for the window's pixel format, as the Windows driver chooses it from a surface's.
BlitFunction choose_conversion(const X11Connection& c, const XImage& image) {
  if (c.visual->c_class != TRUE_COLOUR_CLASS) return nullptr;
  dx.surface_bits = image.bits_per_pixel;
  const uint32_t bits = static_cast<uint32_t>(image.bits_per_pixel);
  return choose_blitter(ddraw_display_type(bits, static_cast<uint32_t>(c.visual->green_mask)),
                        ddraw_red_low(bits, static_cast<uint32_t>(c.visual->red_mask)));
}

// Once per process: the later opens of a switch or a rebuild say nothing new.
void report_open() {
  static bool reported = false;
  if (reported || !display_verbose()) return;
  reported = true;
  if (full_screen()) {
    const ScreenRect& area = dx.modes.area;
    std::fprintf(stderr,
                 "zvgfx: DirectX: full screen on output %s, display mode %dx%d (was %dx%d), picture %dx%d at row %d\n",
                 dx.modes.output_name, area.right - area.left, dx.mode_height, dx.modes.original_screen.width,
                 dx.modes.original_screen.height, window_host.width, window_host.height, dx.row_offset);
  } else {
    std::fprintf(stderr, "zvgfx: DirectX: window %dx%d on a %d-bit display\n", window_host.width, window_host.height,
                 dx.surface_bits);
  }
  const bool present = x11_wait_vblank(static_cast<uint32_t>(x11_host_window()->view), PRESENT_WAIT_MS);
  std::fprintf(stderr, "zvgfx: DirectX: vertical blank %s\n", present ? "from X Present" : "by the clock");
}

int32_t open_hook() {
  const XDdrawState kept = dx;
  dx = XDdrawState{};
  dx.window_left = kept.window_left;
  dx.window_top = kept.window_top;
  dx.target_x = kept.target_x;
  dx.target_y = kept.target_y;
  window_host.blit = nullptr;
  const X11Connection* c = x11_connection();
  GraphicsState* gs = graphics_state();
  if (!c || !gs) return -1;
  const int32_t width = window_host.width;
  const int32_t height = window_host.height;
  X11Placement place{.frame = {dx.window_left, dx.window_top, dx.window_left + width, dx.window_top + height},
                     .view_x = 0, .view_y = 0, .scale = 1, .view_width = width, .view_height = height};
  if (full_screen() && enter_full_screen(*c, &place) != 0) return -1;
  if (create_host_window(place, width, height) != 0) return -1;
  if (!surface_create(&dx.surface, c->display, c->visual, c->depth, x11_host_window()->view, width, height)) return -1;
  window_host.blit = choose_conversion(*c, *dx.surface.image);
  if (!window_host.blit) return -1;
  gs->refresh_rate = x11_refresh_rate(c->display);
  x11_prime_pointer();
  mark_all_rows_dirty();
  report_open();
  return 0;
}

void close_hook() {
  const X11Connection* c = x11_connection();
  X11Window* w = x11_host_window();
  if (c && w && !w->destroyed) {
    Window child = 0;
    int x = 0, y = 0;
    if (XTranslateCoordinates(c->display, w->frame, c->root, 0, 0, &x, &y, &child)) {
      // Full screen goes back to the output where the window was; a window to where it was.
      dx.target_x = x + (w->place.frame.right - w->place.frame.left) / 2;
      dx.target_y = y + (w->place.frame.bottom - w->place.frame.top) / 2;
      if (!full_screen()) {
        dx.window_left = x;
        dx.window_top = y;
      }
    }
  }
  if (c) surface_destroy(&dx.surface, c->display);
  dx.surface = X11Surface{};
  window_host.blit = nullptr;
  if (dx.switched) {
    if (x11_guard_armed()) {
      x11_guard_restore();
    } else if (c) {
      x11_restore_mode(c->display, c->root, dx.modes);
    }
    dx.switched = false;
  }
  destroy_host_window();
}

bool mode_lost(void*) {
  const X11Connection* c = x11_connection();
  return dx.switched && c && !x11_mode_is_ours(c->display, c->root, dx.modes);
}
// A mode that someone else replaced cannot be restored in place: the driver is rebuilt.
uint32_t mode_cannot_be_restored(void*) { return DDRAW_WRONG_MODE; }
bool still_running(void*) { return host_running(); }
bool rebuild(void*) {
  DdrawRebuild r{nullptr, [](void*) { close_hook(); }, [](void*) { return open_hook(); }, platform::sleep_ms,
                 still_running, nullptr};
  return ddraw_rebuild(r);
}
const DdrawRecovery recovery{nullptr, mode_lost, nullptr, mode_cannot_be_restored, rebuild, still_running};

void put_rows(int32_t top, int32_t count) {
  X11Window* w = x11_host_window();
  const X11Connection* c = x11_connection();
  if (!w || w->destroyed || !c || !dx.surface.image) return;
  surface_put(&dx.surface, c->display, w->view, top, count);
}

void update(GraphicsState* gs) {
  if (vblank_pending.exchange(0)) platform::event_wait(vblank_event, VBLANK_WAIT_MS);
  if (!window_host.active && full_screen()) return;
  if (full_screen()) ddraw_recover(recovery);
  const int32_t repeat = std::max(gs->scanline_size, 1);
  // Palette pixels are converted with the colours of the moment, so every row goes again.
  if (window_host.palette_dirty) {
    mark_all_rows_dirty();
    window_host.palette_dirty = 0;
  }
  int32_t first = 0, last = 0;
  if (dx.surface.image && window_host.blit && gdi_find_band(gs->dirty, gs->height, &first, &last)) {
    window_host.blit(reinterpret_cast<uint8_t*>(dx.surface.image->data), dx.surface.image->bytes_per_line);
    const int32_t top = first * repeat;
    put_rows(top, (last + 1) * repeat - top);
    host_picture_shown();
  }
  if (gs->dirty) std::memset(gs->dirty, 0, static_cast<size_t>(window_host.height));
  const X11Connection* c = x11_connection();
  if (window_host.active && gs->key_state && c) {
    char keymap[32] = {};
    XQueryKeymap(c->display, keymap);
    uint8_t device[256];
    x11_key_device_state(reinterpret_cast<const uint8_t*>(keymap), device);
    ddraw_fold_key_state(device, gs->key_state);
  }
}

void paint_hook() {
  if (dx.surface.image) put_rows(0, window_host.height);
}

void thread_main(platform::Event* start_event) {
  thread_alive.store(true);
  host_window_thread(start_event, update, pump_messages, HOST_PAUSE_FIRST);
  thread_alive.store(false);
}

int32_t open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                     int32_t flags) {
  window_host = WindowHost{};
  if (flags & (SCREEN_OPENGL | SCREEN_SHAPED_WINDOW)) return -1;
  if (width <= 0 || height <= 0 || !x11_connect()) return -1;
  const X11Connection* c = x11_connection();
  window_host.driver_open_hook = open_hook;
  window_host.driver_close_hook = close_hook;
  window_host.driver_paint_hook = paint_hook;
  window_host.window_thread_main = thread_main;
  set_window_system(x11_window_system());
  x11_input() = X11InputState{};
  const ScreenRect screen = x11_screen_rect();
  dx.window_left = (screen.right - width) >> 1;
  dx.window_top = (screen.bottom - height) >> 1;
  // Full screen takes the output under the pointer, as the other drivers take its monitor.
  Window root = 0, child = 0;
  int wx = 0, wy = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(c->display, c->root, &root, &child, &dx.target_x, &dx.target_y, &wx, &wy, &mask)) {
    dx.target_x = screen.right / 2;
    dx.target_y = screen.bottom / 2;
  }
  if (!vblank_event) vblank_event = platform::event_create();
  if (!vblank_event) return -1;
  return host_open(title, width, height, std::max(depth, 8), refresh_rate, flags);
}

// A window thread that did not end in time still uses the connection, so it stays open;
// the mode goes back all the same, through the guard's own connection.
void close_display() {
  host_close();
  if (thread_alive.load()) {
    x11_guard_restore();
  } else {
    x11_disconnect();
  }
  x11_vblank_close();
}

void wait_vblank() {
  if (!vblank_event) return;
  while (platform::event_wait(vblank_event, 0)) {
  }
  host_lock();
  vblank_pending.store(1);
  X11Window* w = x11_host_window();
  const uint32_t view = w && !w->destroyed ? static_cast<uint32_t>(w->view) : 0;
  host_unlock();
  if (!x11_wait_vblank(view, PRESENT_WAIT_MS)) host_wait_vblank();
  platform::event_set(vblank_event);
}

}  // namespace

const DisplayDriver ddraw_driver = {
    "DirectX",        open_display,     close_display,    host_lock,        host_unlock,
    host_set_palette_entry, wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, x11_list_modes,   nullptr,          nullptr,
};

}  // namespace zv
