// Palette calls in every mode: single entries, the statement with three channels, whole
// tables, the default again, and the palette ports, with any index and colour.
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "gfx/core/palette.h"
#include "gfx/core/ports.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  fuzz::Input in{data, size};
  fuzz::open_screen(in);
  for (int calls = in.small(1, 16); calls > 0 && in.size; --calls) {
    const int32_t index = in.next(3) ? in.small(-3, 300) : in.any();
    switch (in.next(6)) {
      case 0: zv::palette_set_entry(index, in.next(0)); break;
      case 1: zv::palette_statement(index, in.any(), in.small(-2, 300), in.small(-2, 300)); break;
      case 2: {
        std::vector<int32_t> colours(in.next(300));
        for (int32_t& c : colours) c = in.next(2) ? in.any() : -1;
        // The count never claims more elements than the array holds: that would be
        // the caller's own overrun, which no callee can see.
        const int32_t size = static_cast<int32_t>(colours.size());
        zv::palette_using(colours.data(), in.next(4) ? size : in.small(-3, size));
        break;
      }
      case 3: zv::palette_statement(-1, 0, -1, -1); break;
      case 4: zv::port_out(in.next(2) ? in.small(966, 970) : in.any(), in.any()); break;
      default: zv::port_in(in.next(2) ? in.small(966, 986) : in.any()); break;
    }
  }
  return 0;
}
