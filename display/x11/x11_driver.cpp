// The X11 driver: its window thread converts the band of changed rows into an image of
// the window's visual and sends it to the window every 10 ms.
#include "display/x11/x11_driver.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

#include "display/blit/blit.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/change_filter.h"
#include "display/host/key_polling.h"
#include "display/host/window_host.h"
#include "display/host/x11/x11_host.h"
#include "display/x11/x11_modes.h"
#include "display/x11/x11_rules.h"
#include "display/x11/x11_surface.h"
#include "platform/memory.h"
#include "platform/platform.h"

namespace zv {

namespace {

constexpr int32_t TRUE_COLOUR_CLASS = 4;  // TrueColor

struct X11DriverState {
  X11Surface surface;
  uint8_t* buffer;        // unscaled conversion rows when the picture is scaled
  int32_t buffer_pitch;
  int32_t bytes_per_pixel;
  X11Placement place;
  SpanBlitFunction convert;  // the span form of window_host.blit
  ChangeFilter filter;       // only what changed is converted and sent
};

X11DriverState x11;

// The conversion in both forms: every dirty row, or changed stretches.
struct X11Conversion {
  BlitFunction rows;
  SpanBlitFunction spans;
};

std::atomic<bool> thread_alive{false};
bool open_in_window = false;

int32_t open_window(const X11Conversion* known_conversion);
void x11_close_hook();

// Where the blitter writes: straight into the image, or into rows that are scaled into it.
uint8_t* conversion_target(int32_t* pitch) {
  if (x11.buffer) {
    *pitch = x11.buffer_pitch;
    return x11.buffer;
  }
  *pitch = x11.surface.image->bytes_per_line;
  return reinterpret_cast<uint8_t*>(x11.surface.image->data);
}

// Sends rows of the shown (scaled) picture.
void put_rows(int32_t top, int32_t count) {
  X11Window* w = x11_host_window();
  const X11Connection* c = x11_connection();
  if (!w || w->destroyed || !c || !x11.surface.image) return;
  surface_put(&x11.surface, c->display, w->view, top, count);
}

// The locker's window changed size: window, image and buffers are made again for the
// new one, with the conversion kept (a size does not change it, and choosing it reads
// screen flags that the program's thread changes outside the lock). When that fails
// the window is gone, which the program hears as a close.
void follow_target_size() {
  const X11Conversion conversion{window_host.blit, x11.convert};
  x11_close_hook();
  if (conversion.rows && open_window(&conversion) == 0) return;
  x11_close_hook();
  post_event(InputEvent{EV_CLOSE, {}});
}

// One changed rectangle of the picture, enlarged or reduced into the image when the
// picture is shown at another size; returns the area of the image to send.
PictureRect scale_rect(const PictureRect& r) {
  const X11Placement& place = x11.place;
  const int32_t s = place.scale, bytes = x11.bytes_per_pixel;
  auto* image = reinterpret_cast<uint8_t*>(x11.surface.image->data);
  const int32_t image_pitch = x11.surface.image->bytes_per_line;
  if (x11.buffer && x11_reduced(place, window_host.width, window_host.height)) {
    // A reduced picture sends whole shown rows.
    int32_t shown_top = 0;
    const int32_t shown = x11_shown_rows(place, window_host.height, r.y, r.height, &shown_top);
    x11_reduce_rows(x11.buffer, x11.buffer_pitch, window_host.width, window_host.height, image, image_pitch,
                    place.view_width, place.view_height, bytes, shown_top, shown);
    return PictureRect{0, shown_top, place.view_width, shown};
  }
  if (x11.buffer) {
    x11_scale_rows(x11.buffer + static_cast<intptr_t>(r.y) * x11.buffer_pitch + static_cast<intptr_t>(r.x) * bytes,
                   x11.buffer_pitch,
                   image + static_cast<intptr_t>(r.y) * s * image_pitch + static_cast<intptr_t>(r.x) * s * bytes,
                   image_pitch, r.width, r.height, bytes, s);
  }
  return PictureRect{r.x * s, r.y * s, r.width * s, r.height * s};
}

// Sends one changed rectangle; the last of an update asks the server to report.
struct Sending {
  const X11Connection* connection;
  X11Window* window;
  int32_t left;  // rectangles still to come
};

void send_rect(const PictureRect& r, void* context) {
  auto& sending = *static_cast<Sending*>(context);
  const PictureRect area = scale_rect(r);
  --sending.left;
  surface_put_area(&x11.surface, sending.connection->display, sending.window->view, area.x, area.y, area.width,
                   area.height, sending.left == 0);
}

// One update: a changed palette, what changed of the picture, the dirty flags, the held keys.
void update(GraphicsState* gs) {
  if (x11_target_resized()) follow_target_size();
  const int32_t repeat = std::max(gs->scanline_size, 1);
  // Palette pixels are converted with the colours of the moment, so all rows must go again.
  if (window_host.palette_dirty) {
    mark_all_rows_dirty();
    window_host.palette_dirty = 0;
  }
  if (x11.surface.image && x11.convert) {
    int32_t pitch = 0;
    uint8_t* target = conversion_target(&pitch);
    Sending sending{x11_connection(), x11_host_window(), 0};
    if (sending.connection && sending.window && !sending.window->destroyed) {
      // The server must have taken what the last update sent before the image changes.
      surface_wait(&x11.surface, sending.connection->display);
      sending.left = change_filter_collect(&x11.filter, *gs);
      if (sending.left > 0) host_picture_shown();
      send_collected(&x11.filter, *gs, ChangeTarget{x11.convert, target, pitch, send_rect, &sending});
    }
  }
  if (gs->dirty) std::memset(gs->dirty, 0, static_cast<size_t>(gs->height) * repeat);
  poll_key_state();
}

// The blitter for the server's visual, in both forms; none when the visual is not one we can fill.
X11Conversion choose_conversion(const X11Connection& c, int32_t bits_per_pixel) {
  if (c.visual->c_class != TRUE_COLOUR_CLASS) return {};
  int32_t red_low = 0;
  int32_t type = x11_surface_type(bits_per_pixel, static_cast<uint32_t>(c.visual->red_mask),
                                  static_cast<uint32_t>(c.visual->green_mask),
                                  static_cast<uint32_t>(c.visual->blue_mask), &red_low);
  if (!type) return {};
  return X11Conversion{choose_blitter(type, red_low), choose_span_blitter(type, red_low)};
}

// Window, image and buffers for the host's placement; the conversion is chosen unless
// one is known already.
int32_t open_window(const X11Conversion* known_conversion) {
  x11 = X11DriverState{};
  window_host.blit = nullptr;
  const X11Connection* c = x11_connection();
  GraphicsState* gs = graphics_state();
  if (!c || !gs) return -1;
  const int32_t width = window_host.width;
  const int32_t height = window_host.height;
  X11Placement place{};
  if (x11_target_window() != None) {
    int32_t target_width = 0, target_height = 0;
    if (!x11_target_size(&target_width, &target_height)) return -1;
    place = x11_place_in_window(width, height, target_width, target_height);
  } else {
    ScreenRect monitor = (window_host.flags & SCREEN_FULLSCREEN) ? x11_monitor_under_pointer() : x11_screen_rect();
    place = x11_place(window_host.flags, width, height, monitor, x11_screen_rect());
  }
  if (create_host_window(place, width, height) != 0) return -1;
  X11Window* w = x11_host_window();
  x11.place = place;
  if (!surface_create(&x11.surface, c->display, c->visual, c->depth, w->view, place.view_width, place.view_height)) {
    return -1;
  }
  x11.bytes_per_pixel = x11.surface.image->bits_per_pixel / 8;
  const X11Conversion conversion = known_conversion ? *known_conversion
                                                   : choose_conversion(*c, x11.surface.image->bits_per_pixel);
  window_host.blit = conversion.rows;
  x11.convert = conversion.spans;
  if (!conversion.rows || !conversion.spans) return -1;
  if (!change_filter_open(&x11.filter, *gs, true)) return -1;
  if (place.scale > 1 || x11_reduced(place, width, height)) {
    x11.buffer_pitch = (width * x11.bytes_per_pixel + 3) & ~3;
    x11.buffer = static_cast<uint8_t*>(platform::mem_calloc(static_cast<size_t>(height), static_cast<size_t>(x11.buffer_pitch)));
    if (!x11.buffer) return -1;
  }
  if (!known_conversion) gs->refresh_rate = x11_refresh_rate(c->display);
  x11_prime_pointer();
  mark_all_rows_dirty();
  return 0;
}

int32_t x11_open_hook() { return open_window(nullptr); }

void x11_close_hook() {
  if (const X11Connection* c = x11_connection()) surface_destroy(&x11.surface, c->display);
  std::free(x11.buffer);
  change_filter_close(&x11.filter);
  x11 = X11DriverState{};
  window_host.blit = nullptr;
  destroy_host_window();
}

// Sends the whole picture as the last update left it; nothing is converted here.
void x11_paint_hook() {
  if (x11.surface.image) put_rows(0, x11.place.view_height);
}

void x11_thread_main(platform::Event* start_event) {
  thread_alive.store(true);
  host_window_thread(start_event, update, pump_messages);
  thread_alive.store(false);
}

int32_t x11_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                         int32_t flags) {
  window_host = WindowHost{};
  // Shaped windows are the GDI driver's alone.
  if (flags & (SCREEN_OPENGL | SCREEN_SHAPED_WINDOW)) return -1;
  if (width <= 0 || height <= 0 || !x11_connect()) return -1;
  if (open_in_window) flags &= ~SCREEN_FULLSCREEN;
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

void x11_draw_into_window(unsigned long window) { x11_set_target_window(static_cast<Window>(window)); }
void x11_open_in_window(bool windowed) { open_in_window = windowed; }

const DisplayDriver x11_driver = {
    "X11",            x11_open_display, x11_close_display, host_lock,      host_unlock,
    host_set_palette_entry, host_wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, x11_list_modes,   nullptr,           nullptr,
};

}  // namespace zv
