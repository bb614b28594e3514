// Opens a small screen and draws on it; without a display the mode set fails cleanly.
// Built outside the tree, it proves the installed headers, library and link flags complete.
#include <cstdio>

#include <zvgfx.h>

int main() {
  zv::runtime_init();
  if (zv::screen_set_resolution(64, 48, 32, 1, 0, 0) != 0) {
    std::puts("no screen");
    return 0;
  }
  zv::draw_line(nullptr, 0, 0, 63, 47, 0x00FF00, zv::LINE_BOX_FILLED, zv::LINE_STYLE_SOLID, 0);
  std::puts("drawn");
  return 0;
}
