// PAINT fills the region around a point up to a border colour, with one colour or
// with an 8 x 8 tile. On a 256-colour screen a tile is 64 bytes, one palette index a
// pixel, row by row; here each tile is drawn as 8 rows of hex digits. A key ends it.
#include "zvgfx.h"

using namespace zv;

// Fills the region around (x, y), bounded by colour 15, with a tile.
static void paint_tile(float x, float y, const char* rows) {
  char tile[64];
  for (int i = 0; i < 64; ++i) tile[i] = static_cast<char>(rows[i] <= '9' ? rows[i] - '0' : rows[i] - 'A' + 10);
  paint_fill(nullptr, x, y, 0, 15, str_temp_wrap(tile, 64), 1, 0);
}

static void outline(float x1, float y1, float x2, float y2) {
  draw_line(nullptr, x1, y1, x2, y2, 15, LINE_BOX_OUTLINE, LINE_STYLE_SOLID, 0);
}

int main() {
  runtime_init();
  if (screen_set_mode(18, 0, 1, 0, 0) != 0) return 1;

  // Three boxes and a triangle whose outlines, in colour 15, hold the paint in.
  outline(40, 60, 300, 240);
  outline(340, 60, 600, 240);
  outline(40, 280, 300, 440);
  draw_macro(nullptr, str_temp_wrap_cstr("C15 BM340,440 M600,440 M470,280 M340,440"));

  paint_tile(100, 100,    // bricks: red with grey mortar
             "44444447" "44444447" "44444447" "77777777"
             "44474444" "44474444" "44474444" "77777777");
  paint_tile(400, 100,    // a green and yellow check
             "AAAAEEEE" "AAAAEEEE" "AAAAEEEE" "AAAAEEEE"
             "EEEEAAAA" "EEEEAAAA" "EEEEAAAA" "EEEEAAAA");
  paint_tile(100, 300,    // blue waves
             "11111111" "99111111" "19911119" "11999991"
             "11119991" "11111111" "11111111" "11111111");
  paint_tile(470, 400,    // diagonal stripes
             "C0000000" "0C000000" "00C00000" "000C0000"
             "0000C000" "00000C00" "000000C0" "0000000C");
  // And a plain fill: the colour 8 up to the border 15 around the whole picture.
  paint_fill(nullptr, 320, 460, 8, 15, nullptr, 0, 0);

  locate(2, 3, 0);
  set_color(15, 8, 0);
  print_string(0, str_temp_wrap_cstr("PAINT with tiles - press a key"), 0);
  wait_key();
  return 0;
}
