// The record through which the graphics core reaches a display back-end.
#pragma once

#include <cstdint>

namespace zv {

// Every entry but driver_name and open_display may be null; callers test first.
struct DisplayDriver {
  const char* driver_name;
  // title, width, display height (rows x scanline size), depth, refresh rate, flags -> 0 / -1
  int32_t (*open_display)(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                          int32_t flags);
  void (*close_display)();
  void (*lock)();
  void (*unlock)();
  void (*set_palette_entry)(int32_t index, int32_t red, int32_t green, int32_t blue);
  void (*wait_vblank)();
  int32_t (*query_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
  void (*place_mouse)(int32_t x, int32_t y, int32_t visibility, int32_t clip);
  void (*set_title)(const char* title);
  int32_t (*move_window)(int32_t x, int32_t y);
  // Modes as width << 16 | height; the caller frees the array.
  uint32_t* (*list_modes)(int32_t depth, int32_t* count);
  void (*present_frame)();
  void (*pump_input)();
};

// Whether ZVGFX_VERBOSE (set to anything but "0") asks for reports on standard error:
// the chosen driver and mode, and what the display showed.
bool display_verbose();

// The null driver: the screen lives only in memory.
extern const DisplayDriver null_driver;

// The drivers tried in order of preference, ending in a null entry.
const DisplayDriver* const* display_driver_list();
// Tests put their own list in place; null restores the built-in one.
void set_display_driver_list(const DisplayDriver* const* list);

}  // namespace zv
