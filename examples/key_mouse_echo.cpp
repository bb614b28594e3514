// Key and mouse echo: each key's code is printed as it arrives (two-byte codes for
// the arrows, function keys and so on), and the mouse draws while a button is down,
// with its position on the status line. Mode 12: 640 x 480, 16 colours. Esc ends it.
#include <cstdio>

#include "zvgfx.h"

using namespace zv;

static void say(int row, int colour, const char* text) {
  locate(row, 1, 0);
  set_color(colour, 0, 0);
  print_string(0, str_temp_wrap_cstr(text), 0);
}

int main() {
  runtime_init();
  if (screen_set_mode(12, 0, 1, 0, 0) != 0) return 1;
  say(1, 15, "Keys and mouse: type, or draw with a button held. Esc ends.");

  char text[96];
  int row = 3, last_x = -1, last_y = -1;
  for (;;) {
    // A key: "" when none, one byte for codes 1..255, else 255 and a second byte.
    StringDescriptor* key = key_string();
    const int length = str_length(key);
    const int first = length > 0 ? static_cast<unsigned char>(key->data[0]) : 0;
    const int code = length > 1 ? static_cast<unsigned char>(key->data[1]) << 8 | 0xFF : first;
    str_release_temp(key);
    if (code == 27) break;
    if (code != 0) {
      std::snprintf(text, sizeof text, "key %5d  0x%04X  %c", code, code, code >= 32 && code < 127 ? code : ' ');
      say(row, 14, text);
      row = row < 22 ? row + 1 : 3;
    }

    // The mouse: a line from where it was while a button is down, a status line always.
    int32_t x = 0, y = 0, wheel = 0, buttons = 0, clip = 0;
    if (get_mouse(&x, &y, &wheel, &buttons, &clip) == 0) {
      if (buttons != 0 && last_x >= 0) {
        draw_line(nullptr, last_x, last_y, x, y, buttons & 1 ? 12 : 10, LINE_BOX_NONE, LINE_STYLE_SOLID, 0);
      }
      last_x = buttons != 0 ? x : -1;
      last_y = y;
      std::snprintf(text, sizeof text, "mouse x %3d  y %3d  buttons %d  wheel %d   ", x, y, buttons, wheel);
      say(30, 11, text);
    }
    sleep(20);
  }
  return 0;
}
