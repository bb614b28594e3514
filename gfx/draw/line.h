// LINE: lines, rectangle outlines and filled rectangles, with 16-bit dash patterns.
#pragma once

#include <cstdint>

#include "gfx/core/draw_context.h"

namespace zv {

struct ImageBuffer;

constexpr int32_t LINE_BOX_NONE = 0;
constexpr int32_t LINE_BOX_OUTLINE = 1;
constexpr int32_t LINE_BOX_FILLED = 2;
constexpr uint32_t LINE_STYLE_SOLID = 0xFFFF;
// Coordinate flag: no colour was passed, draw in the context's foreground colour.
constexpr int32_t LINE_USE_FOREGROUND = INT32_MIN;

// Draws into target (null = the screen). The low three bits of coordinate_flags are the
// step code that resolves relative points; only the low 16 bits of style count.
void draw_line(ImageBuffer* target, float x1, float y1, float x2, float y2, uint32_t colour, int32_t box_mode,
               uint32_t style, int32_t coordinate_flags);

// Corners in target pixels with x1 <= x2 and y1 <= y2, colour in the target's format;
// the caller has selected the target and its pixel operations.
void draw_box(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour, bool filled, uint32_t style);

// Region code of a point against the view: 1 left, 2 right, 8 above, 4 below.
int32_t clip_outcode(const DrawContext* context, int64_t x, int64_t y);

// The 16-bit pattern with its bit order reversed.
uint32_t reverse_style(uint32_t style);

}  // namespace zv
