// Printing random bytes on the graphics screen between random locates, widths, text
// windows, views, colours and clears, in every mode.
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "gfx/draw/view.h"
#include "gfx/text/graphics_text.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  fuzz::Input in{data, size};
  fuzz::open_screen(in);
  for (int calls = in.small(1, 12); calls > 0 && in.size; --calls) {
    switch (in.next(8)) {
      case 0: zv::locate(in.small(-2, 70), in.small(-2, 140), in.small(-1, 2)); break;
      case 1: zv::set_width(in.next(2) ? in.small(-1, 170) : in.any(), in.next(2) ? in.small(-1, 70) : in.any()); break;
      case 2: zv::view_print(in.small(-2, 70), in.small(-2, 70), in.small(0, 1)); break;
      case 3:
        zv::view_set(in.small(-20, 700), in.small(-20, 500), in.small(-20, 700), in.small(-20, 500), in.colour(),
                     in.colour(), static_cast<int32_t>(in.next(0)));
        break;
      case 4: zv::set_color(in.any(), in.any(), in.small(0, 3)); break;
      case 5: zv::clear_screen(in.next(2) ? in.small(-1, 3) : in.any()); break;
      default: {
        std::vector<uint8_t> bytes(in.next(200));
        for (uint8_t& b : bytes) b = in.byte();
        zv::print_text(bytes.data(), static_cast<int32_t>(bytes.size()), static_cast<int32_t>(in.next(16)));
        break;
      }
    }
  }
  return 0;
}
