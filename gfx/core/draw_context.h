// The one drawing context: target, row table, view rectangle, colours, pixel operations.
#pragma once

#include <cstdint>

namespace zv {

struct ImageBuffer;
struct DrawContext;

using PutPixelFn = void (*)(DrawContext* context, int32_t x, int32_t y, uint32_t colour);
using GetPixelFn = uint32_t (*)(DrawContext* context, int32_t x, int32_t y);
using FillSpanFn = void (*)(void* address, uint32_t colour, int32_t count);
// source, destination, width in pixels, height in rows, source pitch, destination pitch,
// then alpha, blender and parameter passed through from the caller.
using PutterFn = void (*)(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                          int32_t source_pitch, int32_t destination_pitch, int32_t alpha, void* blender,
                          int32_t parameter);

// Context flags
constexpr uint32_t DC_ROWS_STALE = 1;
constexpr uint32_t DC_TARGET_IMAGE = 2;
constexpr uint32_t DC_WINDOW = 4;
constexpr uint32_t DC_WINDOW_SCREEN = 8;
constexpr uint32_t DC_VIEW = 16;
constexpr uint32_t DC_ABSOLUTE = 32;

constexpr int32_t PUT_MODE_COUNT = 10;

struct DrawContext {
  uint32_t screen_id;
  int32_t work_page;
  uint8_t** rows;
  int32_t rows_capacity;
  int32_t bytes_per_pixel;
  int32_t pitch;
  ImageBuffer* target;
  float last_x;
  float last_y;
  int32_t view_x;
  int32_t view_y;
  int32_t view_w;
  int32_t view_h;
  int32_t saved_view_x;
  int32_t saved_view_y;
  int32_t saved_view_w;
  int32_t saved_view_h;
  float window_x;
  float window_y;
  float window_w;
  float window_h;
  uint32_t fg_colour;
  uint32_t bg_colour;
  PutPixelFn put_pixel;
  GetPixelFn get_pixel;
  FillSpanFn fill_span;
  const PutterFn* putter_cache[PUT_MODE_COUNT];  // per-depth tables indexed by bytes per pixel
  uint32_t flags;
};

}  // namespace zv

namespace zv {

// The context, brought up to date with the open screen (reset when the screen's id changed).
// Returns null when the context or its row table cannot be allocated (the next call tries
// again); with no screen open it is returned unchanged.
DrawContext* get_draw_context();
void select_target(DrawContext* context, ImageBuffer* image);  // null = the screen's work page
void select_pixel_ops(DrawContext* context, uint32_t colour);
// User coordinates to target pixels: rounded half away from zero, saturated to int32 (NaN gives 0).
void translate_point(DrawContext* context, float x, float y, int32_t* tx, int32_t* ty);
// Resolves relative coordinates in place by the low three bits of code; x2/y2 may be null.
void apply_step(DrawContext* context, int32_t code, float* x1, float* y1, float* x2, float* y2);
void order_corners(int32_t* x1, int32_t* y1, int32_t* x2, int32_t* y2);
uint8_t* screen_pointer();

}  // namespace zv
