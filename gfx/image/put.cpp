// put_image: clipping and bookkeeping shared by every drawing mode; the putter does the pixels.
#include "gfx/image/put.h"

#include "gfx/core/auto_lock.h"
#include "gfx/core/graphics_state.h"
#include "gfx/image/image.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

int32_t clamp_int(int64_t v, int64_t low, int64_t high) {
  return static_cast<int32_t>(v < low ? low : v > high ? high : v);
}

// The clip rectangle: the view, kept inside the target in case a view was set wider.
void clip_bounds(const DrawContext* context, const GraphicsState* gs, int64_t* left, int64_t* top,
                 int64_t* right, int64_t* bottom) {
  int64_t width = gs->width, height = gs->height;
  ImageGeometry g;
  if (context->target && image_geometry(context->target, gs->bytes_per_pixel, &g)) {
    width = g.width;
    height = g.height;
  }
  *left = context->view_x < 0 ? 0 : context->view_x;
  *top = context->view_y < 0 ? 0 : context->view_y;
  int64_t view_right = int64_t{context->view_x} + context->view_w;
  int64_t view_bottom = int64_t{context->view_y} + context->view_h;
  *right = view_right < width ? view_right : width;
  *bottom = view_bottom < height ? view_bottom : height;
}

}  // namespace

int32_t put_image(ImageBuffer* target, float x, float y, const ImageBuffer* source, int32_t x1, int32_t y1,
                  int32_t x2, int32_t y2, int32_t coordinate_mode, int32_t mode_code, PutterFn putter, int32_t alpha,
                  void* blender, int32_t parameter) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = current_screen;
  if (!context || !gs || !source) return set_error(ERR_ILLEGAL_CALL);
  if (coordinate_mode < 0 || coordinate_mode > 3 || mode_code < 0 || mode_code >= PUT_MODE_COUNT)
    return set_error(ERR_ILLEGAL_CALL);
  ImageGeometry g;
  if (target && !image_geometry(target, gs->bytes_per_pixel, &g)) return set_error(ERR_ILLEGAL_CALL);
  select_target(context, target);
  select_pixel_ops(context, 0xFF000000u);

  apply_step(context, coordinate_mode >= 2 ? 5 : 4, &x, &y, nullptr, nullptr);
  bool whole = x1 == NOT_GIVEN;
  if (!whole && (coordinate_mode & 1)) {
    x2 = clamp_int(int64_t{x2} + x1, INT32_MIN, INT32_MAX);
    y2 = clamp_int(int64_t{y2} + y1, INT32_MIN, INT32_MAX);
  }
  int32_t tx, ty;
  translate_point(context, x, y, &tx, &ty);

  ImageGeometry src;
  if (!image_geometry(source, context->bytes_per_pixel, &src)) return set_error(ERR_ILLEGAL_CALL);
  SimdLevel level = gs->flags & GS_MMX ? simd_level() : SIMD_NONE;
  if (mode_code == PUT_MODE_ALPHA && src.bytes_per_pixel == 1) {
    if (context->bytes_per_pixel != 4) return set_error(ERR_ILLEGAL_CALL);
    putter = alpha_mask_putter(level);
  } else if (src.bytes_per_pixel != context->bytes_per_pixel) {
    return set_error(ERR_ILLEGAL_CALL);
  }
  if (!putter) return set_error(ERR_ILLEGAL_CALL);

  const uint8_t* pixels = src.pixels;
  int64_t width = src.width, height = src.height;
  if (!whole) {
    order_corners(&x1, &y1, &x2, &y2);
    x1 = clamp_int(x1, 0, width - 1);
    x2 = clamp_int(x2, 0, width - 1);
    y1 = clamp_int(y1, 0, height - 1);
    y2 = clamp_int(y2, 0, height - 1);
    width = x2 - x1 + 1;
    height = y2 - y1 + 1;
    pixels += int64_t{y1} * src.pitch + int64_t{x1} * src.bytes_per_pixel;
  }

  int64_t left, top, right, bottom;
  clip_bounds(context, gs, &left, &top, &right, &bottom);
  int64_t dx = tx, dy = ty;
  if (dx + width <= left || dx >= right || dy + height <= top || dy >= bottom) return set_error(ERR_NONE);
  if (dy < top) {
    height -= top - dy;
    pixels += (top - dy) * src.pitch;
    dy = top;
  }
  if (dy + height > bottom) height = bottom - dy;
  if (dx < left) {
    width -= left - dx;
    pixels += (left - dx) * src.bytes_per_pixel;
    dx = left;
  }
  if (dx + width > right) width = right - dx;

  auto_lock(gs);
  uint8_t* destination = context->rows[dy] + dx * context->bytes_per_pixel;
  putter(pixels, destination, static_cast<int32_t>(width), static_cast<int32_t>(height), src.pitch, context->pitch,
         alpha, blender, parameter);
  if (context->rows[0] == gs->visible_buffer) mark_dirty(gs, static_cast<int32_t>(dy), static_cast<int32_t>(dy + height - 1));
  auto_unlock(gs);
  return set_error(ERR_NONE);
}

}  // namespace zv
