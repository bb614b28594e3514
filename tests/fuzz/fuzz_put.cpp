// Random screens, images (some with damaged headers) and PUT calls: nothing may reach
// outside the buffers, whatever the sizes, depths, rectangles and positions.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fuzz_input.h"
#include "gfx/core/screen.h"
#include "gfx/image/image.h"
#include "gfx/image/put.h"
#include "runtime/runtime.h"

using fuzz::Input;
using fuzz::open_screen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  Input in{data, size};
  open_screen(in);
  zv::runtime.language_option = static_cast<int32_t>(in.next(4) == 0);

  constexpr int IMAGE_COUNT = 3;
  zv::ImageBuffer* images[IMAGE_COUNT] = {};
  constexpr int32_t depths[] = {0, 8, 16, 32, 24, -1, 5, 12};
  for (auto& image : images) {
    image = zv::image_create(in.size_value(true), in.size_value(false), in.next(0), depths[in.next(8)],
                             static_cast<int32_t>(in.next(3)) - 1);
    // Damage a few header bytes now and then.
    if (image && in.next(4) == 0) {
      size_t header = zv::image_block_size(image) >= 32 ? 32 : 4;
      for (int n = in.next(4); n >= 0; --n) reinterpret_cast<uint8_t*>(image)[in.next(header)] = in.next(256);
    }
  }

  for (int calls = 1 + in.next(6); calls > 0 && in.size; --calls) {
    zv::ImageBuffer* target = in.next(2) ? nullptr : images[in.next(IMAGE_COUNT)];
    zv::ImageBuffer* source = images[in.next(IMAGE_COUNT)];
    int32_t mode_code = static_cast<int32_t>(in.next(12)) - 1;
    zv::PutterFn putter = mode_code == zv::PUT_MODE_XOR || in.next(2) ? zv::put_xor_dispatch : nullptr;
    int32_t x1 = in.next(3) == 0 ? zv::NOT_GIVEN : in.any();
    if (in.next(2)) x1 = static_cast<int32_t>(in.next(40)) - 10;
    zv::put_image(target, in.coordinate(), in.coordinate(), source, x1, static_cast<int32_t>(in.next(60)) - 10,
                  in.next(2) ? in.any() : static_cast<int32_t>(in.next(60)) - 10,
                  static_cast<int32_t>(in.next(60)) - 10, static_cast<int32_t>(in.next(6)) - 1, mode_code, putter, -1,
                  nullptr, 0);
  }
  for (auto* image : images) zv::image_destroy(image);
  zv::runtime.language_option = 0;
  return 0;
}
