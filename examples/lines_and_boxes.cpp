// Lines and boxes on a 640 x 480 screen with 32-bit colours (0xRRGGBB): string art
// from straight lines, then boxes outlined, filled and dashed. A key ends it.
#include "zvgfx.h"

using namespace zv;

// draw_line's last three arguments: box mode, dash pattern, coordinate flags.
static void line(float x1, float y1, float x2, float y2, uint32_t colour) {
  draw_line(nullptr, x1, y1, x2, y2, colour, LINE_BOX_NONE, LINE_STYLE_SOLID, 0);
}

static void box(float x1, float y1, float x2, float y2, uint32_t colour, int32_t mode, uint32_t dashes) {
  draw_line(nullptr, x1, y1, x2, y2, colour, mode, dashes, 0);
}

int main() {
  runtime_init();
  if (screen_set_resolution(640, 480, 32, 1, 0, 0) != 0) return 1;

  // String art: each line joins a point on one edge to a point on the next, and
  // together they bend into a curve. Red fades to yellow as the lines go round.
  for (int i = 0; i <= 24; ++i) {
    const float t = i / 24.0f;
    const uint32_t colour = 0xFF0000 | static_cast<uint32_t>(t * 255) << 8;
    line(20, 40 + t * 420, 20 + t * 280, 460, colour);  // left edge to bottom
    line(20 + t * 280, 40, 300, 40 + t * 420, colour);  // top edge to right
  }

  // Boxes: an outline, a filled box inside it, and dashed frames around both.
  box(360, 60, 600, 220, 0x40C0FF, LINE_BOX_OUTLINE, LINE_STYLE_SOLID);
  box(380, 80, 580, 200, 0x204080, LINE_BOX_FILLED, LINE_STYLE_SOLID);
  for (int i = 1; i <= 4; ++i) {
    box(360 - i * 6, 60 - i * 6, 600 + i * 6, 220 + i * 6, 0xFFFFFF, LINE_BOX_OUTLINE, 0xF0F0 >> i);
  }
  // A row of small filled boxes going from green to blue.
  for (int i = 0; i < 8; ++i) {
    const uint32_t colour = static_cast<uint32_t>(255 - i * 32) << 8 | static_cast<uint32_t>(i * 32);
    box(360 + i * 30, 300, 384 + i * 30, 420, colour, LINE_BOX_FILLED, LINE_STYLE_SOLID);
  }

  locate(2, 46, 0);
  set_color(0xFFFFFF, 0, 0);
  print_string(0, str_temp_wrap_cstr("Lines and boxes - press a key"), 0);
  wait_key();
  return 0;
}
