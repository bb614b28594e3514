// Opening and closing the graphics screen.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "gfx/core/palette.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/core/screen.h"
#include "gfx/text/fonts.h"
#include "platform/memory.h"
#include "platform/platform.h"
#include "runtime/strings.h"

namespace zv {

namespace {

uint32_t next_screen_id = 1;
bool exit_handler_registered = false;
int32_t allocations_left = -1;

bool may_allocate() {
  if (allocations_left == 0) return false;
  if (allocations_left > 0) --allocations_left;
  return true;
}

void* screen_calloc(size_t count, size_t size) {
  return may_allocate() ? platform::mem_calloc(count ? count : 1, size ? size : 1) : nullptr;
}

// Sizes derived from a request, checked before the open screen is touched.
struct ScreenLayout {
  int32_t depth;
  int32_t bytes_per_pixel;
  int32_t pitch;
  uint32_t colour_mask;
  size_t page_bytes;
  size_t dirty_bytes;
};

bool is_requestable_depth(int32_t depth) {
  return depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

bool plan_layout(const ScreenRequest& request, int32_t mode_num, int32_t requested_depth, int32_t num_pages,
                 int32_t flags, ScreenLayout* out) {
  if (request.width < 1 || request.height < 1 || request.scanline_size < 1) return false;
  int32_t depth = request.depth;
  if (mode_num > 13 && is_requestable_depth(requested_depth)) depth = requested_depth;
  if (flags >= 0 && (flags & SCREEN_OPENGL) && depth < 16) depth = 16;
  uint32_t mask;
  if (depth == 15 || depth == 16) {
    depth = 16;
    mask = 0xFFFF;
  } else if (depth == 24 || depth == 32) {
    depth = 32;
    mask = 0xFFFFFFFFu;
  } else if (depth == 1 || depth == 2 || depth == 4 || depth == 8) {
    mask = (1u << depth) - 1;
  } else {
    return false;
  }
  int32_t bpp = (depth + 7) / 8;
  // Every size below must fit the 32-bit fields that hold it and the address space.
  uint64_t pitch = uint64_t(request.width) * bpp;
  uint64_t display_height = uint64_t(request.height) * uint64_t(request.scanline_size);
  uint64_t page_bytes = pitch * uint64_t(request.height);
  uint64_t cells = uint64_t(request.text_w) * uint64_t(request.text_h) * sizeof(CharCell);
  constexpr uint64_t limit = PTRDIFF_MAX;
  if (pitch > INT32_MAX || display_height > INT32_MAX || page_bytes > limit / uint64_t(num_pages) ||
      cells > limit / uint64_t(num_pages) || uint64_t(num_pages) > limit / sizeof(void*))
    return false;
  *out = {depth, bpp, static_cast<int32_t>(pitch), mask, static_cast<size_t>(page_bytes),
          static_cast<size_t>(display_height)};
  return true;
}

void free_screen(GraphicsState* gs) {
  if (gs->driver && gs->driver->close_display) gs->driver->close_display();
  reset_char_pages(nullptr, false);
  if (gs->pages) {
    for (int32_t p = 0; p < gs->num_pages; ++p) std::free(gs->pages[p]);
    std::free(gs->pages);
  }
  std::free(gs->device_palette);
  std::free(gs->colour_table);
  std::free(gs->colour_map);
  std::free(gs->dirty);
  std::free(gs->key_state);
  if (gs->event_ring) {
    std::free(gs->event_ring);
    mutex_destroy(gs->event_lock);
  }
  std::free(gs);
}

void tear_down_screen() {
  if (current_screen) {
    // The driver stops reading the buffers before they go.
    free_screen(current_screen);
    current_screen = nullptr;
  }
  std::free(blit_conversion_table);
  blit_conversion_table = nullptr;
}

template <class T>
bool allocate(T** field, size_t count) {
  *field = static_cast<T*>(screen_calloc(count, sizeof(T)));
  return *field != nullptr;
}

bool allocate_buffers(GraphicsState* gs, const ScreenLayout& layout) {
  if (!allocate(&gs->pages, static_cast<size_t>(gs->num_pages))) return false;
  for (int32_t p = 0; p < gs->num_pages; ++p) {
    if (!allocate(&gs->pages[p], layout.page_bytes)) return false;
  }
  gs->visible_buffer = gs->pages[0];
  if (!allocate(&gs->dirty, layout.dirty_bytes) || !allocate(&gs->device_palette, 256) ||
      !allocate(&gs->colour_table, 256) || !allocate(&gs->key_state, 128) || !allocate(&gs->colour_map, 16) ||
      !allocate(&gs->event_ring, EVENT_RING_SIZE))
    return false;
  gs->event_lock = may_allocate() ? mutex_create() : nullptr;
  if (!gs->event_lock) return false;
  return allocate(&blit_conversion_table, 512);
}

void register_exit_handler() {
  if (exit_handler_registered) return;
  exit_handler_registered = true;
  std::atexit(screen_exit_handler);
}

// Palette, drawing context, text pages and cleared pages of a screen whose driver is open.
bool finish_screen(GraphicsState* gs, const ScreenRequest& request) {
  palette_statement(-1, 0, -1, -1);
  gs->text_w = request.text_w;
  gs->text_h = request.text_h;
  DrawContext* context = get_draw_context();
  if (!context || reset_char_pages(context, true) != 0) return false;
  for (int32_t p = 0; p < gs->num_pages; ++p)
    for (int32_t y = 0; y < gs->height; ++y)
      context->fill_span(gs->pages[p] + static_cast<ptrdiff_t>(y) * gs->pitch, context->bg_colour, context->view_w);
  return true;
}

// Builds the state for a request. False leaves a half-built state for the caller to free.
bool build_screen(const ScreenRequest& request, const ScreenLayout& layout, int32_t mode_num, int32_t num_pages,
                  int32_t refresh_rate, int32_t flags) {
  auto* gs = static_cast<GraphicsState*>(screen_calloc(1, sizeof(GraphicsState)));
  if (!gs) return false;
  current_screen = gs;
  gs->id = next_screen_id++;
  gs->mode_num = mode_num;
  gs->width = request.width;
  gs->height = request.height;
  gs->default_palette = request.palette;
  gs->scanline_size = request.scanline_size;
  gs->font = request.font;
  gs->depth = layout.depth;
  gs->colour_mask = layout.colour_mask;
  gs->bytes_per_pixel = layout.bytes_per_pixel;
  gs->pitch = layout.pitch;
  gs->num_pages = num_pages;
  if (!allocate_buffers(gs, layout)) return false;
  if (flags != SCREEN_NULL) {
    if (flags & SCREEN_ALPHA_PRIMITIVES) gs->flags |= GS_ALPHA_PRIMITIVES;
    if (flags & SCREEN_OPENGL) gs->flags |= GS_OPENGL;
  }
  set_depth_ops(gs->bytes_per_pixel);
  unpack_fonts();
  ensure_window_title();

  const DisplayDriver* driver =
      choose_display_driver(platform::get_env("ZVGFX"), window_title(), gs->width,
                            gs->height * gs->scanline_size, gs->depth, refresh_rate, flags);
  if (!driver) return false;
  gs->driver = driver;
  // The driver's window thread may already be converting the pages: everything from
  // here on is written under its lock, held as the program's screen lock so that the
  // operations below neither take it again nor release it.
  if (driver->lock) driver->lock();
  gs->flags |= GS_LOCKED;
  bool built = finish_screen(gs, request);
  gs->flags &= ~(GS_LOCKED | GS_AUTO_LOCKED);
  if (driver->unlock) driver->unlock();
  if (built) register_exit_handler();
  return built;
}

}  // namespace

void limit_screen_allocations(int32_t count) { allocations_left = count; }

int32_t set_mode(const ScreenRequest* request, int32_t mode_num, int32_t depth, int32_t num_pages,
                 int32_t refresh_rate, int32_t flags) {
  if (num_pages < 1) num_pages = 1;
  if (flags >= 0 && (flags & SCREEN_SHAPED_WINDOW)) flags |= SCREEN_SHAPED_WINDOW | SCREEN_NO_FRAME | SCREEN_NO_SWITCH;
  bool opening = mode_num != 0 && request && request->width != 0;
  ScreenLayout layout;
  if (opening && !plan_layout(*request, mode_num, depth, num_pages, flags, &layout)) return set_error(ERR_ILLEGAL_CALL);

  tear_down_screen();
  if (opening) {
    runtime.hooks = graphics_hooks();
    if (!build_screen(*request, layout, mode_num, num_pages, refresh_rate, flags)) {
      // Frees the half-built screen and gives the console its operations back.
      set_mode(nullptr, 0, 0, 0, 0, SCREEN_EXITING);
      return set_error(ERR_ILLEGAL_CALL);
    }
  } else {
    runtime.hooks = RuntimeHooks{};
    if (flags != SCREEN_EXITING) {
      set_width(80, 25);
      clear_screen(0);
    }
    view_store(-1, -1);
  }
  if (flags != SCREEN_EXITING) view_print(0, 0, current_screen ? 1 : 0);
  return set_error(ERR_NONE);
}

void screen_exit_handler() {
  if (current_screen) set_mode(nullptr, 0, 0, 0, 0, SCREEN_EXITING);
}

int32_t screen_set_mode(int32_t mode, int32_t depth, int32_t num_pages, int32_t flags, int32_t refresh_rate) {
  if (mode == 0) return set_mode(nullptr, 0, depth, num_pages, refresh_rate, flags);
  const ModeInfo* row = mode_info(mode);
  if (!row || row->width == 0) return set_error(ERR_ILLEGAL_CALL);
  ScreenRequest request = {row->width, row->height, row->depth, row->scanline_size,
                           row->palette, row->font,   row->text_w, row->text_h};
  int32_t result = set_mode(&request, mode, depth, num_pages, refresh_rate, flags);
  if (result == 0) console_set_current_row(0);
  return result;
}

int32_t screen_set_mode_pages(int32_t mode, int32_t work_page, int32_t visible_page) {
  int32_t result = screen_set_mode(mode, 0, 0, 0, 0);
  if (result != 0) return result;
  if (work_page || visible_page) return page_set(work_page, visible_page);
  return set_error(ERR_NONE);
}

int32_t screen_set_resolution(int32_t width, int32_t height, int32_t depth, int32_t num_pages, int32_t flags,
                              int32_t refresh_rate) {
  // Bit d - 1 of the mask is set for each accepted depth d.
  constexpr uint32_t ACCEPTED_DEPTHS = 0x8080C08Bu;
  if (width <= 0 || height <= 0 || depth < 1 || depth > 32 || !((ACCEPTED_DEPTHS >> (depth - 1)) & 1))
    return set_error(ERR_ILLEGAL_CALL);
  ScreenRequest request = {width, height, depth, 1, &palette_256, &font_8x8, width / 8, height / 8};
  int32_t result = set_mode(&request, -1, depth, num_pages, refresh_rate, flags);
  if (result == 0) console_set_current_row(0);
  return result;
}

}  // namespace zv
