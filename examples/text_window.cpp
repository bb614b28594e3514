// Text on the graphics screen: colours and locate, a text window (view_print) whose
// rows scroll on their own while the rest of the screen stays, and line input with
// editing. Mode 18 gives 80 x 30 cells of 8 x 16 pixels. A key ends it.
#include <cstdio>

#include "zvgfx.h"

using namespace zv;

static void say(const char* text) { print_string(0, str_temp_wrap_cstr(text), 1); }

int main() {
  runtime_init();
  if (screen_set_mode(18, 0, 1, 0, 0) != 0) return 1;

  // A title bar on row 1 (rows are 16 pixels high) and rules above and below row 5 to 19.
  draw_line(nullptr, 0, 0, 639, 15, 1, LINE_BOX_FILLED, LINE_STYLE_SOLID, 0);
  draw_line(nullptr, 0, 58, 639, 59, 14, LINE_BOX_FILLED, LINE_STYLE_SOLID, 0);
  draw_line(nullptr, 0, 324, 639, 325, 14, LINE_BOX_FILLED, LINE_STYLE_SOLID, 0);
  set_color(15, 1, 0);
  locate(1, 3, 0);
  say("zvgfx text: a text window and line input");

  // The text window is rows 5 to 19: printing past row 19 scrolls only those rows.
  view_print(5, 19, 1);
  char text[80];
  for (int line = 1; line <= 24; ++line) {
    set_color(line % 6 + 9, 0, 0);
    std::snprintf(text, sizeof text, " Line %2d of 24: the window scrolls, the title stays.", line);
    say(text);
  }

  // Line input below the window: type, edit with the arrow keys, Enter ends it.
  view_print(0, 0, 0);
  set_color(15, 0, 0);
  locate(23, 2, 1);
  StringDescriptor name{};
  if (line_input(str_temp_wrap_cstr("What is your name"), &name, STR_DESCRIPTOR, 0, 1, 1) != 0) {
    str_assign(&name, STR_DESCRIPTOR, "", 0, 0);
  }
  set_color(10, 0, 0);
  locate(25, 2, 0);
  std::snprintf(text, sizeof text, "Hello, %s! Press a key to end.", name.data ? name.data : "stranger");
  say(text);
  str_free(&name);
  wait_key();
  return 0;
}
