// Palette cycling: on a screen of palette indices (mode 13: 320 x 200, 256 colours)
// the picture is drawn once, and then only the palette changes, so the colours flow
// through it without a pixel being drawn again. A key ends it.
#include <cmath>

#include "zvgfx.h"

using namespace zv;

constexpr int FIRST = 32;  // the cycled entries: 32 to 95
constexpr int COUNT = 64;

int main() {
  runtime_init();
  if (screen_set_mode(13, 0, 1, 0, 0) != 0) return 1;

  // A tunnel: filled boxes from the edge inwards, each in the next cycled index.
  for (int i = 0; i < 100; ++i) {
    draw_line(nullptr, i * 1.6f, i, 319 - i * 1.6f, 199 - i, FIRST + i % COUNT, LINE_BOX_FILLED,
              LINE_STYLE_SOLID, 0);
  }
  locate(13, 14, 0);
  set_color(15, 0, 0);
  print_string(0, str_temp_wrap_cstr(" Palette cycling "), 0);

  // A rainbow over the 64 entries, turned one entry further every 40 ms.
  for (int step = 0; !key_pending(); ++step) {
    for (int i = 0; i < COUNT; ++i) {
      const double angle = (i + step) * 2 * 3.14159265 / COUNT;
      const int red = static_cast<int>(127.5 + 127.5 * std::sin(angle));
      const int green = static_cast<int>(127.5 + 127.5 * std::sin(angle + 2.0944));
      const int blue = static_cast<int>(127.5 + 127.5 * std::sin(angle + 4.1888));
      palette_statement(FIRST + i, red, green, blue);  // 8-bit channels
    }
    sleep(40);
  }
  return 0;
}
