#include "gfx/draw/draw_macro.h"

#include <cmath>

#include "gfx/draw/draw_macro_internal.h"

namespace zv {

MacroSettings macro_settings{1.0f, 0.0f};

namespace {

struct MacroCommand {
  char letter;
  MacroCommandFn run;
  int32_t argument;
};

// Straight moves carry their direction in eighths of a turn, counter-clockwise from east.
constexpr MacroCommand MACRO_COMMANDS[] = {
    {'R', &macro_move_straight, 0},
    {'E', &macro_move_straight, 1},
    {'U', &macro_move_straight, 2},
    {'H', &macro_move_straight, 3},
    {'L', &macro_move_straight, 4},
    {'G', &macro_move_straight, 5},
    {'D', &macro_move_straight, 6},
    {'F', &macro_move_straight, 7},
    {'M', &macro_move_to, 0},
    {'B', &macro_prefix, MACRO_PREFIX_BLIND},
    {'N', &macro_prefix, MACRO_PREFIX_NO_MOVE},
    {'A', &macro_set_angle, 0},
    {'T', &macro_turn, 0},
    {'C', &macro_set_colour, 0},
    {'S', &macro_set_scale, 0},
    {'P', &macro_paint, 0},
    {'X', &macro_execute, 0},
};

const MacroCommand* find_command(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  for (const MacroCommand& command : MACRO_COMMANDS)
    if (command.letter == c) return &command;
  return nullptr;
}

// Plays the commands; false when one of them ended the call early.
bool play(MacroCall& call, MacroCursor& cursor) {
  while (char c = macro_peek(cursor)) {
    ++cursor.at;
    const MacroCommand* command = find_command(c);
    if (command && !command->run(call, cursor, command->argument)) return false;
  }
  return true;
}

}  // namespace

int32_t parse_macro_number(MacroCursor* cursor) {
  macro_skip_blanks(*cursor);
  bool negative = false;
  if (macro_peek(*cursor) == '-') {
    negative = true;
    ++cursor->at;
  }
  if (macro_peek(*cursor) == '+') ++cursor->at;
  macro_skip_blanks(*cursor);
  uint32_t value = 0;
  bool any_digit = false;
  for (char c = macro_peek(*cursor); c >= '0' && c <= '9'; c = macro_peek(*cursor)) {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    any_digit = true;
    ++cursor->at;
  }
  if (!any_digit) return MACRO_NO_NUMBER;
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

void run_macro(ImageBuffer* target, const StringDescriptor* commands, int32_t depth, int32_t* nested_calls_left) {
  GraphicsState* gs = graphics_state();
  DrawContext* context = get_draw_context();
  if (!gs || !context || !commands || !commands->data) return;
  select_target(context, target);
  select_pixel_ops(context, 0xFF000000);
  MacroCall call{context, gs, target, depth, nested_calls_left, context->last_x + 0.5f, context->last_y + 0.5f,
                 true, true, 0.0f, 1.0f};
  auto_lock(gs);
  const uint32_t saved_absolute = context->flags & DC_ABSOLUTE;
  context->flags |= DC_ABSOLUTE;
  MacroCursor cursor{commands->data, commands->data + str_length(commands)};
  // An aborted call leaves the context's pen where it was before the call.
  if (play(call, cursor)) {
    context->last_x = std::floor(call.pen_x);
    context->last_y = std::floor(call.pen_y);
  }
  context->flags = (context->flags & ~DC_ABSOLUTE) | saved_absolute;
  auto_unlock(gs);
}

void draw_macro(ImageBuffer* target, StringDescriptor* commands) {
  int32_t nested_calls_left = MACRO_NESTED_CALL_BUDGET;
  run_macro(target, commands, 0, &nested_calls_left);
  if (commands) str_release_temp(commands);
}

}  // namespace zv
