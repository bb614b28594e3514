// The X11 driver: its window thread converts the band of changed rows into an image of
// the window's visual and sends it to the window every 10 ms.
#include "display/x11/x11_driver.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "display/blit/blit.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/key_polling.h"
#include "display/host/window_host.h"
#include "display/host/x11/x11_host.h"
#include "display/x11/x11_modes.h"
#include "display/x11/x11_rules.h"
#include "display/x11/x11_surface.h"
#include "platform/platform.h"

namespace zv {

namespace {

constexpr int32_t TRUE_COLOUR_CLASS = 4;  // TrueColor

struct X11DriverState {
  X11Surface surface;
  uint8_t* buffer;        // unscaled conversion rows when the picture is scaled
  int32_t buffer_pitch;
  int32_t bytes_per_pixel;
  int32_t scale;
};

X11DriverState x11;
std::atomic<bool> thread_alive{false};

// Where the blitter writes: straight into the image, or into rows that are scaled into it.
uint8_t* conversion_target(int32_t* pitch) {
  if (x11.buffer) {
    *pitch = x11.buffer_pitch;
    return x11.buffer;
  }
  *pitch = x11.surface.image->bytes_per_line;
  return reinterpret_cast<uint8_t*>(x11.surface.image->data);
}

void put_rows(int32_t top, int32_t count) {
  X11Window* w = x11_host_window();
  const X11Connection* c = x11_connection();
  if (!w || w->destroyed || !c || !x11.surface.image) return;
  surface_put(&x11.surface, c->display, w->view, top * x11.scale, count * x11.scale);
}

// One update: a changed palette, the band of changed rows, the dirty flags, the held keys.
void update(GraphicsState* gs) {
  const int32_t repeat = std::max(gs->scanline_size, 1);
  // Palette pixels are converted with the colours of the moment, so all rows must go again.
  if (window_host.palette_dirty) {
    mark_all_rows_dirty();
    window_host.palette_dirty = 0;
  }
  int32_t first = 0, last = 0;
  if (x11.surface.image && window_host.blit && gdi_find_band(gs->dirty, gs->height, &first, &last)) {
    int32_t pitch = 0;
    uint8_t* target = conversion_target(&pitch);
    window_host.blit(target, pitch);
    const int32_t top = first * repeat;
    const int32_t count = (last + 1) * repeat - top;
    if (x11.buffer) {
      const int32_t image_pitch = x11.surface.image->bytes_per_line;
      x11_scale_rows(x11.buffer + static_cast<intptr_t>(top) * x11.buffer_pitch, x11.buffer_pitch,
                     reinterpret_cast<uint8_t*>(x11.surface.image->data) +
                         static_cast<intptr_t>(top) * x11.scale * image_pitch,
                     image_pitch, window_host.width, count, x11.bytes_per_pixel, x11.scale);
    }
    put_rows(top, count);
  }
  if (gs->dirty) std::memset(gs->dirty, 0, static_cast<size_t>(gs->height) * repeat);
  if (window_host.active && gs->key_state) key_state_from_keyboard(x11_input().keyboard.vk, gs->key_state);
}

// The blitter for the server's visual; null when the visual is not one we can fill.
BlitFunction choose_conversion(const X11Connection& c, int32_t bits_per_pixel) {
  if (c.visual->c_class != TRUE_COLOUR_CLASS) return nullptr;
  int32_t red_low = 0;
  int32_t type = x11_surface_type(bits_per_pixel, static_cast<uint32_t>(c.visual->red_mask),
                                  static_cast<uint32_t>(c.visual->green_mask),
                                  static_cast<uint32_t>(c.visual->blue_mask), &red_low);
  return type ? choose_blitter(type, red_low) : nullptr;
}

int32_t x11_open_hook() {
  x11 = X11DriverState{};
  window_host.blit = nullptr;
  const X11Connection* c = x11_connection();
  GraphicsState* gs = graphics_state();
  if (!c || !gs) return -1;
  const int32_t width = window_host.width;
  const int32_t height = window_host.height;
  ScreenRect monitor = (window_host.flags & SCREEN_FULLSCREEN) ? x11_monitor_under_pointer() : x11_screen_rect();
  X11Placement place = x11_place(window_host.flags, width, height, monitor, x11_screen_rect());
  if (create_host_window(place, width, height) != 0) return -1;
  X11Window* w = x11_host_window();
  x11.scale = place.scale;
  if (!surface_create(&x11.surface, c->display, c->visual, c->depth, w->view, width * place.scale,
                      height * place.scale)) {
    return -1;
  }
  x11.bytes_per_pixel = x11.surface.image->bits_per_pixel / 8;
  window_host.blit = choose_conversion(*c, x11.surface.image->bits_per_pixel);
  if (!window_host.blit) return -1;
  if (place.scale > 1) {
    x11.buffer_pitch = (width * x11.bytes_per_pixel + 3) & ~3;
    x11.buffer = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(height), static_cast<size_t>(x11.buffer_pitch)));
    if (!x11.buffer) return -1;
  }
  gs->refresh_rate = x11_refresh_rate(c->display);
  x11_prime_pointer();
  mark_all_rows_dirty();
  return 0;
}

void x11_close_hook() {
  if (const X11Connection* c = x11_connection()) surface_destroy(&x11.surface, c->display);
  std::free(x11.buffer);
  x11 = X11DriverState{};
  window_host.blit = nullptr;
  destroy_host_window();
}

// Sends the whole picture as the last update left it; nothing is converted here.
void x11_paint_hook() {
  if (x11.surface.image) put_rows(0, window_host.height);
}

void x11_thread_main(platform::Event* start_event) {
  thread_alive.store(true);
  if (x11_open_hook() != 0) {
    x11_close_hook();
    thread_alive.store(false);
    return;
  }
  host_signal_started(start_event);
  window_host.active = 1;
  host_update_loop(update, pump_messages);
  x11_close_hook();
  thread_alive.store(false);
}

int32_t x11_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                         int32_t flags) {
  window_host = WindowHost{};
  // Shaped windows are the GDI driver's alone.
  if (flags & (SCREEN_OPENGL | SCREEN_SHAPED_WINDOW)) return -1;
  if (width <= 0 || height <= 0 || !x11_connect()) return -1;
  window_host.driver_open_hook = x11_open_hook;
  window_host.driver_close_hook = x11_close_hook;
  window_host.driver_paint_hook = x11_paint_hook;
  window_host.window_thread_main = x11_thread_main;
  set_window_system(x11_window_system());
  x11_input() = X11InputState{};
  return host_open(title, width, height, std::max(depth, 8), refresh_rate, flags);
}

// A window thread that did not end in time still uses the connection, so it stays open.
void x11_close_display() {
  host_close();
  if (!thread_alive.load()) x11_disconnect();
}

}  // namespace

const DisplayDriver x11_driver = {
    "X11",            x11_open_display, x11_close_display, host_lock,      host_unlock,
    host_set_palette_entry, host_wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, x11_list_modes,   nullptr,           nullptr,
};

}  // namespace zv
