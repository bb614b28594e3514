// The pen's path for one straight DRAW move: k steps of (cos, -sin) from the pen, each sum
// rounded to single precision. Long moves are walked in jumps, so the cost does not grow with
// the step count: a move of two billion steps takes as long as a short one.
#pragma once

#include <cstdint>

namespace zv {

// Inclusive pixel bounds of the area whose pixels are reported; empty when right < left.
struct WalkBounds {
  int64_t left, top, right, bottom;
};

using WalkPlotFn = void (*)(void* user, int32_t x, int32_t y);

// One step of the pen along one axis, exactly as the interpreter defines it.
inline float pen_step(float v, double increment) { return static_cast<float>(static_cast<double>(v) + increment); }

// Pixel of a pen coordinate (truncated toward zero); far-away and NaN coordinates give
// values outside every view.
int64_t pen_pixel(float v);

// Walks `steps` steps from (*x, *y), reporting the pixel of every position (the start
// included) that lies inside bounds, and leaves the final position in (*x, *y).
// Positions that repeat the previous one are not reported again once the pen stops moving.
void walk_pen(float* x, float* y, double step_x, double step_y, int64_t steps, const WalkBounds& bounds,
              WalkPlotFn plot, void* user);

}  // namespace zv
