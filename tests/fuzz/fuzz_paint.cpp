// PAINT on a random picture: lines and boxes drawn from the input, then fills with any
// seed, view, fill and border colour, and tile strings of any length and mode, on the
// screen and into images.
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "gfx/draw/line.h"
#include "gfx/draw/paint.h"
#include "gfx/draw/view.h"
#include "gfx/image/image.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  fuzz::Input in{data, size};
  fuzz::open_screen(in);
  constexpr int32_t depths[] = {8, 16, 32, 0};
  zv::ImageBuffer* image = zv::image_create(in.small(-2, 90), in.small(-2, 70), in.colour(), depths[in.next(4)], -1);
  if (in.next(2)) {
    zv::view_set(in.small(-20, 700), in.small(-20, 500), in.small(-20, 700), in.small(-20, 500), in.colour(),
                 in.colour(), static_cast<int32_t>(in.next(0)));
  }
  for (int strokes = in.small(0, 12); strokes > 0 && in.size; --strokes) {
    zv::ImageBuffer* target = in.next(3) == 0 ? image : nullptr;
    zv::draw_line(target, in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), in.colour(),
                  in.small(0, 3), in.next(0), in.small(0, 7));
  }
  for (int fills = in.small(1, 4); fills > 0 && in.size; --fills) {
    zv::ImageBuffer* target = in.next(3) == 0 ? image : nullptr;
    std::vector<char> tile(in.next(300));
    for (char& c : tile) c = static_cast<char>(in.byte());
    zv::StringDescriptor* pattern = nullptr;
    zv::StringDescriptor fixed{tile.data(), static_cast<int32_t>(tile.size()), static_cast<int32_t>(tile.size())};
    switch (in.next(3)) {
      case 0: pattern = &fixed; break;
      case 1: pattern = zv::str_temp_wrap(tile.data(), static_cast<int32_t>(tile.size())); break;
      default: break;
    }
    int32_t flags = static_cast<int32_t>(in.next(8));
    if (in.next(4) == 0) flags |= zv::PAINT_USE_FOREGROUND;
    if (in.next(4) == 0) flags |= zv::PAINT_BORDER_IS_FILL;
    zv::paint_fill(target, in.coordinate(), in.coordinate(), in.colour(), in.colour(), pattern, in.small(-1, 3), flags);
  }
  zv::image_destroy(image);
  if (zv::temp_desc_in_use() != 0) __builtin_trap();  // a tile string was not released
  return 0;
}
