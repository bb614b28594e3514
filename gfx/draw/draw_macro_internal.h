// The state of one DRAW call and the command handlers that share it.
#pragma once

#include <cstdint>

#include "gfx/core/auto_lock.h"
#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "gfx/draw/draw_macro.h"

namespace zv {

// Scale and rotation live for the whole program, across calls and screen changes.
struct MacroSettings {
  float scale;     // set by S n as n / 4
  float rotation;  // radians, set by A and TA
};
extern MacroSettings macro_settings;

struct MacroCall {
  DrawContext* context;
  GraphicsState* gs;
  ImageBuffer* target;
  int32_t depth;               // 0 for the outermost call
  int32_t* nested_calls_left;  // shared by every call under one outermost DRAW
  float pen_x, pen_y;          // a pen on pixel (i, j) is at (i + 0.5, j + 0.5)
  bool draw;                   // off for the move after B
  bool move;                   // off for the move after N
  float direction;             // accumulated angle of the current straight move
  float diagonal_factor;
};

// A command handler runs after its letter has been read; false ends the call (abort).
using MacroCommandFn = bool (*)(MacroCall& call, MacroCursor& cursor, int32_t argument);

bool macro_move_straight(MacroCall& call, MacroCursor& cursor, int32_t eighths);
bool macro_move_to(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_prefix(MacroCall& call, MacroCursor& cursor, int32_t which);
bool macro_set_angle(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_turn(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_set_colour(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_set_scale(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_paint(MacroCall& call, MacroCursor& cursor, int32_t unused);
bool macro_execute(MacroCall& call, MacroCursor& cursor, int32_t unused);

constexpr int32_t MACRO_PREFIX_BLIND = 0;    // B
constexpr int32_t MACRO_PREFIX_NO_MOVE = 1;  // N

// Runs one command string; the outermost call passes depth 0.
void run_macro(ImageBuffer* target, const StringDescriptor* commands, int32_t depth, int32_t* nested_calls_left);

inline char macro_peek(const MacroCursor& cursor) { return cursor.at < cursor.end ? *cursor.at : '\0'; }
inline void macro_skip_blanks(MacroCursor& cursor) {
  while (macro_peek(cursor) == ' ' || macro_peek(cursor) == '\t') ++cursor.at;
}

// Another primitive draws with its own automatic lock; afterwards the moves go on with the
// plain pixel operations whatever colour that primitive selected.
template <class Primitive>
void macro_call_primitive(MacroCall& call, Primitive primitive) {
  auto_unlock(call.gs);
  primitive();
  auto_lock(call.gs);
  select_pixel_ops(call.context, 0xFF000000);
}

}  // namespace zv
