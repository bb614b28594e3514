// The graphics screen: numbered modes and free resolutions, driver choice, lock,
// pages, text pages and the window title.
#pragma once

#include <cstdint>

#include "display/driver.h"
#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "runtime/runtime.h"

namespace zv {

constexpr int32_t MODE_COUNT = 21;
// Modes 1 to 21; row 0 is mode 1. A width of 0 marks an unsupported mode.
extern const ModeInfo mode_table[MODE_COUNT];
// The row of a mode number, null outside 1-21.
const ModeInfo* mode_info(int32_t mode);

// What a screen is opened with: a mode row widened to the sizes a free resolution can have.
struct ScreenRequest {
  int32_t width;
  int32_t height;
  int32_t depth;
  int32_t scanline_size;
  const PaletteInfo* palette;
  const FontInfo* font;
  int32_t text_w;
  int32_t text_h;
};

// Mode 0 closes the screen. Returns 1 for a mode outside 0-21 or unsupported (the open
// screen stays as it was) and when no screen could be opened.
int32_t screen_set_mode(int32_t mode, int32_t depth, int32_t num_pages, int32_t flags, int32_t refresh_rate);
int32_t screen_set_mode_pages(int32_t mode, int32_t work_page, int32_t visible_page);
// Depth one of 1, 2, 4, 8, 15, 16, 24, 32; sizes positive and small enough to address.
int32_t screen_set_resolution(int32_t width, int32_t height, int32_t depth, int32_t num_pages, int32_t flags,
                              int32_t refresh_rate);
// The mode-setting core: tears down the open screen and, unless request is null or
// mode_num is 0, builds a new one. mode_num is 1-21, or -1 for a free resolution.
int32_t set_mode(const ScreenRequest* request, int32_t mode_num, int32_t depth, int32_t num_pages,
                 int32_t refresh_rate, int32_t flags);
// Closes an open screen at process exit; registered with atexit at the first open.
void screen_exit_handler();

// Tries the drivers of display_driver_list() in passes (see driver_choice.cpp); name is
// the value of "ZVGFX" or null. Returns the opened driver or null.
const DisplayDriver* choose_display_driver(const char* name, const char* title, int32_t width,
                                           int32_t display_height, int32_t depth, int32_t refresh_rate,
                                           int32_t flags);

void screen_lock();
// Marks rows start..end changed (negative: 0 and the last row) when drawing goes to the
// displayed page, then releases any lock.
void screen_unlock(int32_t start_line, int32_t end_line);

// Takes a temporary string and releases it. At most 127 bytes are kept.
void set_window_title(StringDescriptor* title);
// The current title, null until one is set or a screen has been opened.
const char* window_title();
// Makes the program's file name the title unless one has been set.
void ensure_window_title();
// The default title for a program path: the file name without its last extension.
void title_from_module_path(const char* path, char* title, int32_t size);

// Previous work page | previous visible page << 8, or -1 with no screen.
int32_t screen_set_pages(int32_t work_page, int32_t visible_page);
int32_t screen_copy_page(int32_t source, int32_t destination);
// Columns x1..x2-1 and rows y1..y2-1 (0-based) of text page `page`; clipped to the page.
void fill_char_cells(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t page, uint16_t character,
                     uint32_t foreground, uint32_t background);
// Frees the text pages and, if allocate, makes blank ones (the work page filled with
// spaces in the context's colours). Returns 1, with no text pages, when memory ran out.
int32_t reset_char_pages(DrawContext* context, bool allocate);

// The graphics operations put into the runtime's hooks while a screen is open.
const RuntimeHooks& graphics_hooks();

// For tests: the next `count` allocations of a screen build succeed, the rest fail
// (-1: no limit).
void limit_screen_allocations(int32_t count);

}  // namespace zv
