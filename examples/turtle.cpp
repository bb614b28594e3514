// A turtle picture with DRAW, the little drawing language: U D L R E F G H move the
// pen up, down, left, right and diagonally, B moves without drawing, N draws and comes
// back, M goes to a point, C sets the colour, TA turns the turtle by any angle and
// P paints. Mode 18 is 640 x 480 with 256 palette colours. A key ends it.
#include <cstdio>

#include "zvgfx.h"

using namespace zv;

static void draw(const char* commands) { draw_macro(nullptr, str_temp_wrap_cstr(commands)); }

int main() {
  runtime_init();
  if (screen_set_mode(18, 0, 1, 0, 0) != 0) return 1;
  char commands[160];

  // A snowflake: six arms, each turned by TA, each with two pairs of side branches
  // drawn with N so the turtle comes back to the arm after each one.
  for (int arm = 0; arm < 6; ++arm) {
    std::snprintf(commands, sizeof commands, "C11 BM200,240 TA%d U40 NE24 NH24 U40 NE16 NH16 U30 NE8 NH8 U10",
                  arm * 60);
    draw(commands);
  }

  // A square spiral: every side a little longer and turned 91 degrees further.
  for (int side = 0; side < 90; ++side) {
    std::snprintf(commands, sizeof commands, "C%d TA%d R%d", 32 + side % 72, side * 91, 4 + side * 2);
    draw(side == 0 ? "BM470,240" : "");
    draw(commands);
  }

  // A house: walls and roof with M, then P paints inside each outline.
  draw("C15 BM40,440 M160,440 M160,380 M40,380 M40,440 BM40,380 M100,340 M160,380");
  draw("C6 BM100,420 P6,15 C4 BM100,370 P4,15");

  locate(2, 3, 0);
  set_color(15, 0, 0);
  print_string(0, str_temp_wrap_cstr("DRAW: a snowflake, a spiral and a house - press a key"), 0);
  wait_key();
  return 0;
}
