// The X11 driver's display modes and refresh rate, from RandR when the server has it.
#include "display/x11/x11_modes.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdlib>

#include "display/gdi/gdi_rules.h"
#include "display/host/x11/x11_host.h"
#include "platform/memory.h"
#include "platform/posix/x11_open.h"

namespace zv {

namespace {

constexpr int32_t DEFAULT_REFRESH_RATE = 60;

bool append(uint32_t** modes, int32_t* n, uint32_t width, uint32_t height) {
  auto* grown = static_cast<uint32_t*>(platform::mem_realloc(*modes, sizeof(uint32_t) * static_cast<size_t>(*n + 1)));
  if (!grown) return false;
  *modes = grown;
  (*modes)[(*n)++] = (width << 16) | (height & 0xFFFF);
  return true;
}

int32_t bits_per_pixel(Display* d, int depth) {
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(d, &count);
  int32_t bits = depth;
  for (int i = 0; i < count; ++i) {
    if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
  }
  if (formats) XFree(formats);
  return bits;
}

uint32_t* list_modes(Display* d, int32_t depth, int32_t* count, ModeRule accepts) {
  uint32_t* modes = nullptr;
  int32_t n = 0;
  const int screen = DefaultScreen(d);
  // Every mode of the server has the screen's pixel size; other depths have none.
  if (accepts(depth, bits_per_pixel(d, DefaultDepth(d, screen)))) {
    int event_base = 0, error_base = 0;
    XRRScreenResources* resources = nullptr;
    if (XRRQueryExtension(d, &event_base, &error_base)) resources = XRRGetScreenResources(d, RootWindow(d, screen));
    if (resources && resources->nmode > 0) {
      for (int i = 0; i < resources->nmode; ++i) {
        if (!append(&modes, &n, resources->modes[i].width, resources->modes[i].height)) break;
      }
    } else {
      append(&modes, &n, static_cast<uint32_t>(DisplayWidth(d, screen)), static_cast<uint32_t>(DisplayHeight(d, screen)));
    }
    if (resources) XRRFreeScreenResources(resources);
  }
  if (count) *count = n;
  return modes;
}

}  // namespace

int32_t x11_refresh_rate(Display* d) {
  int event_base = 0, error_base = 0;
  if (!XRRQueryExtension(d, &event_base, &error_base)) return DEFAULT_REFRESH_RATE;
  XRRScreenConfiguration* config = XRRGetScreenInfo(d, DefaultRootWindow(d));
  if (!config) return DEFAULT_REFRESH_RATE;
  int32_t rate = XRRConfigCurrentRate(config);
  XRRFreeScreenConfigInfo(config);
  return rate > 0 ? rate : DEFAULT_REFRESH_RATE;
}

// Works with or without an open screen: without one it asks the server on a connection of its own.
uint32_t* x11_list_modes_by(int32_t depth, int32_t* count, ModeRule accepts) {
  if (count) *count = 0;
  if (const X11Connection* c = x11_connection()) return list_modes(c->display, depth, count, accepts);
  std::atomic<int32_t> lost{0};
  Display* d = platform::open_x_display(&lost);
  if (!d) return nullptr;
  uint32_t* modes = list_modes(d, depth, count, accepts);
  XCloseDisplay(d);
  return modes;
}

uint32_t* x11_list_modes(int32_t depth, int32_t* count) { return x11_list_modes_by(depth, count, gdi_mode_matches); }

}  // namespace zv
