// The text colours, which are the drawing context's foreground and background.
#include "gfx/core/palette.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/core/screen.h"
#include "gfx/text/graphics_text.h"
#include "gfx/text/text_internal.h"

namespace zv {

namespace {

// The adapter-style modes whose colours work through the palette.
constexpr int32_t MODE_CGA_4_COLOURS = 1;
bool is_ega_16_colour_mode(int32_t mode) { return mode == 7 || mode == 8 || mode == 9; }

uint32_t previous_colours(const GraphicsState* gs, const DrawContext* context) {
  if (gs->depth <= 8) return context->bg_colour * 65536u + context->fg_colour;
  if (gs->depth == 16) return expand_565(context->fg_colour);
  return context->fg_colour;
}

}  // namespace

int32_t gfx_set_color(int32_t foreground, int32_t background, int32_t flags) {
  DrawContext* context = get_draw_context();
  GraphicsState* gs = graphics_state();
  if (!gs || !context) return set_error(ERR_ILLEGAL_CALL);
  const auto result = static_cast<int32_t>(previous_colours(gs, context));
  const bool set_foreground = !(flags & COLOR_KEEP_FOREGROUND);
  const bool set_background = !(flags & COLOR_KEEP_BACKGROUND);

  if (gs->mode_num == MODE_CGA_4_COLOURS) {
    // The background picks one of the mode's four palette sets (-1 to -4); the
    // foreground becomes the screen's background colour, entry 0.
    if (set_background) palette_statement(static_cast<int32_t>(static_cast<uint32_t>(background) | 0xFFFFFFFCu), 0, -1, -1);
    if (set_foreground) palette_statement(0, foreground, -1, -1);
  } else if (is_ega_16_colour_mode(gs->mode_num)) {
    if (set_foreground) context->fg_colour = static_cast<uint32_t>(foreground) & 15;
    if (set_background) palette_statement(0, background, -1, -1);
  } else if (gs->depth <= 8) {
    if (set_foreground) context->fg_colour = static_cast<uint32_t>(foreground) & 255;
    if (set_background) context->bg_colour = static_cast<uint32_t>(background) & 255;
  } else {
    if (set_foreground) context->fg_colour = convert_colour(gs->bytes_per_pixel, static_cast<uint32_t>(foreground));
    if (set_background) context->bg_colour = convert_colour(gs->bytes_per_pixel, static_cast<uint32_t>(background));
  }
  return result;
}

}  // namespace zv
