// The drawing context: bringing it up to date with the screen, choosing the target,
// and turning user coordinates into target pixels.
#include "gfx/core/draw_context.h"

#include <cstddef>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "gfx/core/graphics_state.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/image/image.h"
#include "platform/memory.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

int32_t clamp_to_int32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Half away from zero; NaN gives 0, anything beyond int32 the nearest end.
int32_t round_saturate(long double v) {
  if (std::isnan(v)) return 0;
  v = v > 0 ? v + 0.5L : v - 0.5L;
  if (v >= 2147483648.0L) return INT32_MAX;
  if (v <= -2147483649.0L) return INT32_MIN;
  return static_cast<int32_t>(v);
}

bool grow_rows(DrawContext* context, int32_t count) {
  if (count <= context->rows_capacity) return true;
  void* grown = platform::mem_realloc(context->rows, static_cast<size_t>(count) * sizeof(uint8_t*));
  if (!grown) return false;
  context->rows = static_cast<uint8_t**>(grown);
  context->rows_capacity = count;
  return true;
}

void point_rows(DrawContext* context, uint8_t* first, int32_t count, int32_t pitch) {
  for (int32_t i = 0; i < count; ++i) context->rows[i] = first + static_cast<ptrdiff_t>(i) * pitch;
}

void select_image(DrawContext* context, ImageBuffer* image) {
  GraphicsState* gs = current_screen;
  if (!(context->flags & DC_TARGET_IMAGE)) {
    context->saved_view_x = context->view_x;
    context->saved_view_y = context->view_y;
    context->saved_view_w = context->view_w;
    context->saved_view_h = context->view_h;
  }
  context->view_x = 0;
  context->view_y = 0;
  context->flags |= DC_TARGET_IMAGE;
  ImageGeometry g;
  int32_t screen_bpp = gs ? gs->bytes_per_pixel : 1;
  if (!image_geometry(image, screen_bpp, &g) || !grow_rows(context, g.height)) {
    // An unusable header leaves an empty view: every primitive clips everything away.
    context->view_w = 0;
    context->view_h = 0;
    return;
  }
  context->view_w = g.width;
  context->view_h = g.height;
  context->bytes_per_pixel = g.bytes_per_pixel;
  context->pitch = g.pitch;
  set_depth_ops(g.bytes_per_pixel);
  point_rows(context, g.pixels, g.height, g.pitch);
}

void select_screen(DrawContext* context) {
  GraphicsState* gs = current_screen;
  if (!gs || !(context->flags & (DC_ROWS_STALE | DC_TARGET_IMAGE))) return;
  context->view_x = context->saved_view_x;
  context->view_y = context->saved_view_y;
  context->view_w = context->saved_view_w;
  context->view_h = context->saved_view_h;
  context->bytes_per_pixel = gs->bytes_per_pixel;
  context->pitch = gs->pitch;
  point_rows(context, gs->pages[context->work_page], gs->height, gs->pitch);
  set_depth_ops(gs->bytes_per_pixel);
  context->flags &= ~(DC_ROWS_STALE | DC_TARGET_IMAGE);
}

// Starts the context afresh for the open screen. False when the row table cannot be
// had; the context is then left as it was, so the next request tries again.
bool reset_context(DrawContext* context, const GraphicsState* gs) {
  // Screens are at least one row high; the row table always has the screen's rows.
  auto* rows = static_cast<uint8_t**>(platform::mem_calloc(static_cast<size_t>(gs->height), sizeof(uint8_t*)));
  if (!rows) return false;
  std::free(context->rows);
  std::memset(context, 0, sizeof *context);
  context->screen_id = gs->id;
  context->saved_view_w = gs->width;
  context->saved_view_h = gs->height;
  context->rows = rows;
  context->rows_capacity = gs->height;
  context->fg_colour = gs->depth >= 5 && gs->depth <= 8 ? 15 : gs->colour_mask;
  context->bg_colour = gs->colour_mask & 0xFF000000u;
  context->flags = DC_ROWS_STALE;
  select_target(context, nullptr);
  select_pixel_ops(context, 0xFF000000u);
  return true;
}

}  // namespace

DrawContext* get_draw_context() {
  auto* context = static_cast<DrawContext*>(context_get(CONTEXT_SLOT_DRAW, sizeof(DrawContext)));
  GraphicsState* gs = current_screen;
  if (!context || !gs || context->screen_id == gs->id) return context;
  return reset_context(context, gs) ? context : nullptr;
}

void select_target(DrawContext* context, ImageBuffer* image) {
  if (!context) return;
  if (image) {
    if (image != context->target || !(context->flags & DC_TARGET_IMAGE)) select_image(context, image);
  } else {
    select_screen(context);
  }
  context->target = image;
}

void select_pixel_ops(DrawContext* context, uint32_t colour) {
  if (!context) return;
  const GraphicsState* gs = current_screen;
  bool blend = gs && (gs->flags & GS_ALPHA_PRIMITIVES) && context->bytes_per_pixel == 4 && colour < 0xFF000000u;
  context->put_pixel = blend ? depth_ops.blend_put_pixel : depth_ops.put_pixel;
  context->fill_span = blend ? depth_ops.blend_fill_span : depth_ops.fill_span;
  context->get_pixel = depth_ops.get_pixel;
}

void translate_point(DrawContext* context, float x, float y, int32_t* tx, int32_t* ty) {
  long double fx = x, fy = y;
  if (context->flags & DC_WINDOW) {
    fx = context->view_w * (fx - context->window_x) / (context->window_w - 1.0L);
    fy = context->view_h * (fy - context->window_y) / (context->window_h - 1.0L);
  }
  int64_t px = round_saturate(fx), py = round_saturate(fy);
  if ((context->flags & DC_WINDOW) && !(context->flags & DC_WINDOW_SCREEN)) py = int64_t{context->view_h} - 1 - py;
  if (!(context->flags & DC_ABSOLUTE)) {
    px += context->view_x;
    py += context->view_y;
  }
  *tx = clamp_to_int32(px);
  *ty = clamp_to_int32(py);
}

void apply_step(DrawContext* context, int32_t code, float* x1, float* y1, float* x2, float* y2) {
  bool second = x2 && y2;
  switch (code & 7) {
    case 1:
      if (second) {
        *x2 += *x1;
        *y2 += *y1;
      }
      break;
    case 2:
    case 5:
      *x1 += context->last_x;
      *y1 += context->last_y;
      break;
    case 3:
      *x1 += context->last_x;
      *y1 += context->last_y;
      if (second) {
        *x2 += *x1;
        *y2 += *y1;
      }
      break;
    default: break;
  }
  context->last_x = second ? *x2 : *x1;
  context->last_y = second ? *y2 : *y1;
}

void order_corners(int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2) {
  if (*x2 < *x1) std::swap(*x1, *x2);
  if (*y2 < *y1) std::swap(*y1, *y2);
}

uint8_t* screen_pointer() {
  DrawContext* context = get_draw_context();
  if (!context || !current_screen) return nullptr;
  select_target(context, nullptr);
  return context->rows[0];
}

}  // namespace zv
