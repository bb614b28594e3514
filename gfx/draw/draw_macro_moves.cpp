// The pen moves of DRAW: the eight straight directions and M.
#include <cmath>

#include "gfx/draw/draw_common.h"
#include "gfx/draw/draw_macro_internal.h"
#include "gfx/draw/line.h"
#include "gfx/draw/pen_walk.h"

namespace zv {

namespace {

constexpr double EIGHTH_TURN = 0.7853981633974483;
constexpr double HALF_TURN = 3.141592653589793;
constexpr float DIAGONAL_FACTOR = 1.4142135f;

void plot_pen_pixel(void* user, int32_t x, int32_t y) {
  MacroCall& call = *static_cast<MacroCall*>(user);
  call.context->put_pixel(call.context, x, y, call.context->fg_colour);
  if (drawing_on_visible_page(call.context, call.gs)) mark_dirty(call.gs, y, y);
}

float pen_centre(float v) { return static_cast<float>(std::floor(static_cast<double>(v)) + 0.5); }

void end_move(MacroCall& call) {
  call.draw = true;
  call.move = true;
}

}  // namespace

bool macro_move_straight(MacroCall& call, MacroCursor& cursor, int32_t eighths) {
  // The angle is built the way it always was, one eighth at a time in single precision,
  // so that diagonal moves land on the same pixels.
  for (int32_t i = 0; i < eighths; ++i) call.direction = static_cast<float>(call.direction + EIGHTH_TURN);
  if (eighths & 1) call.diagonal_factor = DIAGONAL_FACTOR;
  int32_t n = parse_macro_number(&cursor);
  if (n == MACRO_NO_NUMBER) n = 1;
  const long double v = static_cast<long double>(call.diagonal_factor) * macro_settings.scale * n;
  // |v| stays below 2^61 (scale below 2^29, n below 2^31), so the step count fits.
  const int64_t steps = static_cast<int64_t>(std::fabs(v) + 0.5L);
  if (v < 0) call.direction = static_cast<float>(call.direction + HALF_TURN);
  const float angle = static_cast<float>(static_cast<double>(call.direction) + macro_settings.rotation);

  const DrawContext* context = call.context;
  WalkBounds bounds{0, 0, -1, -1};
  if (call.draw)
    bounds = WalkBounds{context->view_x, context->view_y, int64_t{context->view_x} + context->view_w - 1,
                        int64_t{context->view_y} + context->view_h - 1};
  float x = call.pen_x, y = call.pen_y;
  walk_pen(&x, &y, std::cos(static_cast<double>(angle)), -std::sin(static_cast<double>(angle)), steps, bounds,
           &plot_pen_pixel, &call);
  if (call.move) {
    call.pen_x = pen_centre(x);
    call.pen_y = pen_centre(y);
  }
  end_move(call);
  call.direction = 0.0f;
  call.diagonal_factor = 1.0f;
  return true;
}

bool macro_move_to(MacroCall& call, MacroCursor& cursor, int32_t) {
  macro_skip_blanks(cursor);
  const char first = macro_peek(cursor);
  const int32_t x = parse_macro_number(&cursor);
  if (x == MACRO_NO_NUMBER) return false;
  const char separator = macro_peek(cursor);
  if (separator) ++cursor.at;
  if (separator != ',') return false;
  const int32_t y = parse_macro_number(&cursor);
  if (y == MACRO_NO_NUMBER) return false;

  float target_x, target_y;
  if (first == '+' || x < 0 || y < 0) {
    const double cs = static_cast<float>(std::cos(static_cast<double>(macro_settings.rotation)));
    const double sn = static_cast<float>(std::sin(static_cast<double>(macro_settings.rotation)));
    const double scale = macro_settings.scale;
    target_x = static_cast<float>(call.pen_x + scale * (x * cs + y * sn));
    target_y = static_cast<float>(call.pen_y + scale * (y * cs - x * sn));
  } else {
    target_x = static_cast<float>(x + 0.5);
    target_y = static_cast<float>(y + 0.5);
  }
  if (call.draw) {
    const float from_x = std::trunc(call.pen_x), from_y = std::trunc(call.pen_y);
    const float to_x = std::trunc(target_x), to_y = std::trunc(target_y);
    macro_call_primitive(call, [&] {
      draw_line(call.target, from_x, from_y, to_x, to_y, 0, LINE_BOX_NONE, LINE_STYLE_SOLID, LINE_USE_FOREGROUND);
    });
  }
  if (call.move) {
    call.pen_x = pen_centre(target_x);
    call.pen_y = pen_centre(target_y);
  }
  end_move(call);
  return true;
}

}  // namespace zv
