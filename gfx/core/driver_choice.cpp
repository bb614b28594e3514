// Choosing the display driver: the passes over the driver list.
#include <cctype>
#include <cstdio>

#include "gfx/core/screen.h"

namespace zv {

namespace {

bool same_name(const char* a, const char* b) {
  if (!a || !b) return false;
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

// ZVGFX_VERBOSE (anything but "0") names the chosen driver and mode on standard error.
void report_choice(const DisplayDriver* driver, int32_t width, int32_t display_height, int32_t depth,
                   int32_t refresh_rate, int32_t flags) {
  if (!display_verbose()) return;
  const char* where = flags == SCREEN_NULL ? "in memory" : (flags & SCREEN_FULLSCREEN) ? "full screen" : "window";
  std::fprintf(stderr, "zvgfx: display driver %s, %dx%dx%d, %s, refresh rate %d\n", driver->driver_name, width,
               display_height, depth, where, refresh_rate);
}

}  // namespace

// Each driver is offered twice in a row, first with the requested refresh rate, then
// with the driver's default (0). Without a name there are two passes: every driver,
// then every driver with full screen and window exchanged. With a name there are four:
// the named driver, any driver, the named driver again, then any driver exchanged.
// A failed open is always undone with the same driver's close_display.
const DisplayDriver* choose_display_driver(const char* name, const char* title, int32_t width,
                                           int32_t display_height, int32_t depth, int32_t refresh_rate,
                                           int32_t flags) {
  if (flags == SCREEN_NULL || same_name(name, "null")) {
    report_choice(&null_driver, width, display_height, depth, 0, SCREEN_NULL);
    return &null_driver;
  }
  const DisplayDriver* const* list = display_driver_list();
  for (int32_t pass = name ? 4 : 2; pass > 0; --pass) {
    for (int32_t i = 0; list && list[i / 2]; ++i) {
      const DisplayDriver* candidate = list[i / 2];
      bool wanted = !name || (pass & 1) || same_name(candidate->driver_name, name);
      if (!wanted || !candidate->open_display) continue;
      int32_t rate = i % 2 == 0 ? refresh_rate : 0;
      if (candidate->open_display(title, width, display_height, depth, rate, flags) == 0) {
        report_choice(candidate, width, display_height, depth, rate, flags);
        return candidate;
      }
      if (candidate->close_display) candidate->close_display();
    }
    if (!name || pass == 2) flags ^= SCREEN_FULLSCREEN;
  }
  return nullptr;
}

}  // namespace zv
