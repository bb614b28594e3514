// The system console without a graphics screen: colours, cursor placement, a text
// window that scrolls on its own, a second page, line input and key codes.
// Run it in a terminal (or a Windows console); with output redirected it prints plain text.
#include <cstdio>

#include "zvgfx.h"

using namespace zv;

static void say(const char* text) { print_string(0, str_temp_wrap_cstr(text), 0); }
static void say_line(const char* text) { print_string(0, str_temp_wrap_cstr(text), 1); }

int main(int argc, char** argv) {
  runtime_init();
  set_args(argc, argv, 0);
  int32_t columns = 0, rows = 0;
  get_size(&columns, &rows);
  char text[200];

  // A title bar and the sixteen console colours.
  clear_screen(0);
  locate(1, 1, 0);
  set_color(15, 1, 0);
  std::snprintf(text, sizeof text, " zvgfx console - %d x %d ", columns, rows);
  say(text);
  locate(2, 1, -1);
  for (int32_t colour = 0; colour < 16; ++colour) {
    set_color(colour == 0 ? 15 : 0, colour, 0);
    std::snprintf(text, sizeof text, "%3d", colour);
    say(text);
  }

  // A text window: printing past its bottom scrolls only its own rows.
  const int32_t window_top = 4, window_bottom = rows - 3;
  view_print(window_top, window_bottom, 1);
  for (int32_t line = 1; line <= 20; ++line) {
    set_color(line % 15 + 1, 0, 0);
    std::snprintf(text, sizeof text, "line %d of 20 in the text window (rows %d-%d)", line, window_top, window_bottom);
    say_line(text);
  }

  // The footer lies outside the text window, so the window is the whole screen meanwhile.
  view_print(0, 0, 0);
  int32_t place = 0;
  locate(rows, 1, 0, &place);
  set_color(0, 7, 0);
  std::snprintf(text, sizeof text, "locate gave %d. Press a key for page 1.", place);
  say(text);
  wait_key();

  // A second page, shown while the first keeps its text.
  page_set(1, 1);
  set_color(14, 4, 0);
  clear_screen(0);
  locate(3, 5, -1);
  say("This is page 1. Press a key to go back to page 0.");
  wait_key();
  page_set(0, 0);

  // Line input on the footer row, then the codes of the keys pressed.
  locate(rows, 1, 1);
  set_color(0, 7, 0);
  for (int32_t column = 1; column < columns; ++column) say(" ");
  locate(rows, 1, 1);
  StringDescriptor name{};
  if (line_input(str_temp_wrap_cstr("Your name"), &name, STR_DESCRIPTOR, 0, 1, 0) != 0) str_assign(&name, -1, "", 0, 0);
  view_print(window_top, window_bottom, 1);
  set_color(10, 0, 0);
  clear_screen(2);
  std::snprintf(text, sizeof text, "Hello, %s! Press keys to see their codes; Esc or q ends.", name.data ? name.data : "");
  say_line(text);
  str_free(&name);
  for (int32_t code = 0; code != 27 && code != 'q' && code != KEY_CLOSE;) {
    code = wait_key();
    std::snprintf(text, sizeof text, "key code %d (0x%X)", code, code);
    say_line(text);
  }

  set_color(7, 0, 0);
  view_print(0, 0, 0);
  locate(rows, 1, 1);
  say_line("");
  return 0;
}
