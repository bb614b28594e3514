#include "gfx/draw/pen_walk.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace zv {

namespace {

// A float in [2^(e-1), 2^e) is n units of 2^(e-24) with 2^23 <= n < 2^24. Inside such a
// range (a binade) adding the same double to every position moves it by the same number
// of units, once the first rounding tie has made the unit count even. The margins keep
// every intermediate sum inside the binade, so that rule holds for each jumped step.
constexpr int64_t UNITS_LOW = (int64_t{1} << 23) + 2;
constexpr int64_t UNITS_HIGH = (int64_t{1} << 24) - 3;

bool same_value(float a, float b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// How one axis goes on from its last three positions.
struct AxisRun {
  bool stuck;        // a step no longer changes the coordinate, so no later step will
  bool negative;     // sign of the coordinate
  int exponent;      // |v| = units * 2^(exponent - 24)
  int64_t units;     // of the current position
  int64_t per_step;  // change of units per step (signed)
  int64_t max_steps; // steps that keep the rule valid
};

bool analyse_axis(const float history[3], AxisRun* run) {
  run->stuck = same_value(history[1], history[2]);
  if (run->stuck) {
    run->max_steps = INT64_MAX;
    return true;
  }
  int64_t units[3];
  int exponent = 0;
  const bool negative = history[2] < 0;
  for (int i = 0; i < 3; ++i) {
    const float v = history[i];
    if (!std::isfinite(v) || std::fabs(v) < FLT_MIN || (v < 0) != negative) return false;
    int e;
    std::frexp(std::fabs(static_cast<double>(v)), &e);
    if (i > 0 && e != exponent) return false;
    exponent = e;
    units[i] = static_cast<int64_t>(std::ldexp(std::fabs(static_cast<double>(v)), 24 - exponent));
    if (units[i] < UNITS_LOW || units[i] > UNITS_HIGH) return false;
  }
  const int64_t step = units[2] - units[1];
  if (step != units[1] - units[0] || step == 0) return false;
  run->negative = negative;
  run->exponent = exponent;
  run->units = units[2];
  run->per_step = step;
  run->max_steps = step > 0 ? (UNITS_HIGH - units[2]) / step : (units[2] - UNITS_LOW) / -step;
  return true;
}

// The coordinate j steps on from the current position `current`.
float axis_value(const AxisRun& run, float current, int64_t j) {
  if (run.stuck) return current;
  const double v = std::ldexp(static_cast<double>(run.units + j * run.per_step), run.exponent - 24);
  return static_cast<float>(run.negative ? -v : v);
}

// Smallest j in [lo, hi] where pred turns true (pred false then true), hi + 1 if never.
template <class Pred>
int64_t first_true(int64_t lo, int64_t hi, Pred pred) {
  while (lo <= hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid))
      hi = mid - 1;
    else
      lo = mid + 1;
  }
  return lo;
}

// Narrows the step range [*lo, *hi] to the steps whose pixel on this axis lies in [a, b].
void narrow_to_bounds(const AxisRun& run, float current, int64_t a, int64_t b, int64_t* lo, int64_t* hi) {
  if (*lo > *hi) return;
  if (run.stuck) {
    const int64_t p = pen_pixel(current);
    if (p < a || p > b) *hi = *lo - 1;
    return;
  }
  auto pixel = [&](int64_t j) { return pen_pixel(axis_value(run, current, j)); };
  const bool increasing = (run.per_step > 0) != run.negative;
  int64_t new_lo, new_hi;
  if (increasing) {
    new_lo = first_true(*lo, *hi, [&](int64_t j) { return pixel(j) >= a; });
    new_hi = first_true(*lo, *hi, [&](int64_t j) { return pixel(j) > b; }) - 1;
  } else {
    new_lo = first_true(*lo, *hi, [&](int64_t j) { return pixel(j) <= b; });
    new_hi = first_true(*lo, *hi, [&](int64_t j) { return pixel(j) < a; }) - 1;
  }
  *lo = new_lo;
  *hi = new_hi;
}

struct Reporter {
  const WalkBounds& bounds;
  WalkPlotFn plot;
  void* user;
  void operator()(float x, float y) const {
    const int64_t px = pen_pixel(x), py = pen_pixel(y);
    if (px >= bounds.left && px <= bounds.right && py >= bounds.top && py <= bounds.bottom)
      plot(user, static_cast<int32_t>(px), static_cast<int32_t>(py));
  }
};

}  // namespace

int64_t pen_pixel(float v) {
  constexpr float limit = 1e15f;
  if (std::isnan(v)) return INT64_MIN;
  if (v >= limit) return static_cast<int64_t>(limit);
  if (v <= -limit) return -static_cast<int64_t>(limit);
  return static_cast<int64_t>(v);
}

void walk_pen(float* px, float* py, double step_x, double step_y, int64_t steps, const WalkBounds& bounds,
              WalkPlotFn plot, void* user) {
  const Reporter report{bounds, plot, user};
  float x = *px, y = *py;
  report(x, y);
  float hx[3] = {x, x, x}, hy[3] = {y, y, y};
  int known = 1;  // positions in the history that belong to the current run of single steps
  int64_t remaining = steps;
  while (remaining > 0) {
    const float nx = pen_step(x, step_x), ny = pen_step(y, step_y);
    if (same_value(nx, x) && same_value(ny, y)) break;  // every later position is this one
    x = nx;
    y = ny;
    --remaining;
    report(x, y);
    hx[0] = hx[1], hx[1] = hx[2], hx[2] = x;
    hy[0] = hy[1], hy[1] = hy[2], hy[2] = y;
    known = std::min(known + 1, 3);
    AxisRun rx, ry;
    if (known < 3 || remaining < 2 || !analyse_axis(hx, &rx) || !analyse_axis(hy, &ry)) continue;
    const int64_t jump = std::min({rx.max_steps, ry.max_steps, remaining});
    if (jump < 2) continue;
    int64_t lo = 1, hi = jump;
    narrow_to_bounds(rx, x, bounds.left, bounds.right, &lo, &hi);
    narrow_to_bounds(ry, y, bounds.top, bounds.bottom, &lo, &hi);
    for (int64_t j = lo; j <= hi; ++j) report(axis_value(rx, x, j), axis_value(ry, y, j));
    x = axis_value(rx, x, jump);
    y = axis_value(ry, y, jump);
    remaining -= jump;
    hx[2] = x;
    hy[2] = y;
    known = 1;
  }
  *px = x;
  *py = y;
}

}  // namespace zv
