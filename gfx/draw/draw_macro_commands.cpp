// The DRAW commands that set state or hand over to another primitive: B N A TA C S P X.
#include <cmath>

#include "gfx/core/pixel_ops.h"
#include "gfx/draw/draw_macro_internal.h"
#include "gfx/draw/paint.h"

namespace zv {

namespace {

constexpr double PI = 3.141592653589793;

}  // namespace

bool macro_prefix(MacroCall& call, MacroCursor&, int32_t which) {
  // Pending until the next move, whatever other commands come first.
  if (which == MACRO_PREFIX_BLIND)
    call.draw = false;
  else
    call.move = false;
  return true;
}

bool macro_set_angle(MacroCall&, MacroCursor& cursor, int32_t) {
  const int32_t n = parse_macro_number(&cursor);
  if (n == MACRO_NO_NUMBER) return false;
  macro_settings.rotation = static_cast<float>((n & 3) * (PI / 2));
  return true;
}

bool macro_turn(MacroCall&, MacroCursor& cursor, int32_t) {
  const char c = macro_peek(cursor);
  if (c != 'A' && c != 'a') return false;
  ++cursor.at;
  const int32_t n = parse_macro_number(&cursor);
  if (n == MACRO_NO_NUMBER) return false;
  macro_settings.rotation = static_cast<float>(n * PI / 180);
  return true;
}

bool macro_set_colour(MacroCall& call, MacroCursor& cursor, int32_t) {
  const int32_t n = parse_macro_number(&cursor);
  if (n == MACRO_NO_NUMBER) return false;
  call.context->fg_colour = convert_colour(call.context->bytes_per_pixel, static_cast<uint32_t>(n));
  return true;
}

bool macro_set_scale(MacroCall&, MacroCursor& cursor, int32_t) {
  const int32_t n = parse_macro_number(&cursor);
  if (n == MACRO_NO_NUMBER) return false;
  macro_settings.scale = static_cast<float>(n * 0.25);
  return true;
}

bool macro_paint(MacroCall& call, MacroCursor& cursor, int32_t) {
  const int32_t fill = parse_macro_number(&cursor);
  if (fill == MACRO_NO_NUMBER) return false;
  int32_t border = fill;
  if (macro_peek(cursor) == ',') {
    ++cursor.at;
    border = parse_macro_number(&cursor);
    if (border == MACRO_NO_NUMBER) return false;
  }
  const uint32_t mask = call.gs->colour_mask;
  const float x = std::trunc(call.pen_x), y = std::trunc(call.pen_y);
  macro_call_primitive(call, [&] {
    paint_fill(call.target, x, y, static_cast<uint32_t>(fill) & mask, static_cast<uint32_t>(border) & mask, nullptr,
               0, 4);
  });
  return true;
}

bool macro_execute(MacroCall& call, MacroCursor& cursor, int32_t) {
  const int32_t number = parse_macro_number(&cursor);
  if (number == MACRO_NO_NUMBER) return false;
  const StringDescriptor* commands = draw_macro_registered(number);
  if (!commands || call.depth + 1 > MACRO_MAX_DEPTH || *call.nested_calls_left <= 0) return false;
  --*call.nested_calls_left;
  DrawContext* context = call.context;
  context->last_x = call.pen_x - 0.5f;
  context->last_y = call.pen_y - 0.5f;
  macro_call_primitive(call, [&] { run_macro(call.target, commands, call.depth + 1, call.nested_calls_left); });
  call.pen_x = context->last_x + 0.5f;
  call.pen_y = context->last_y + 0.5f;
  return true;
}

}  // namespace zv
