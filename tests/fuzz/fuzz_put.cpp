// Random screens, images (some with damaged headers) and PUT calls: nothing may reach
// outside the buffers, whatever the sizes, depths, rectangles and positions.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/core/screen.h"
#include "gfx/image/image.h"
#include "gfx/image/put.h"
#include "runtime/runtime.h"

namespace {

struct Input {
  const uint8_t* data;
  size_t size;
  uint32_t next(uint32_t bound) {  // 0 .. bound - 1, or 0 when the input is used up
    uint32_t v = 0;
    for (int i = 0; i < 4 && size; ++i, ++data, --size) v = v << 8 | *data;
    return bound ? v % bound : v;
  }
  int32_t any() { return static_cast<int32_t>(next(0)); }
  float coordinate() {
    switch (next(8)) {
      case 0: return NAN;
      case 1: return INFINITY;
      case 2: return -3e38f;
      case 3: {
        float f;
        uint32_t bits = next(0);
        std::memcpy(&f, &bits, 4);
        return f;
      }
      default: return static_cast<float>(static_cast<int32_t>(next(800)) - 400) / 2;
    }
  }
  // Widths may be too large to address at any depth; heights stay small, so that no
  // request is merely too large for the fuzzer's memory limit.
  int32_t size_value(bool may_overflow) {
    switch (next(10)) {
      case 0: return -static_cast<int32_t>(next(5));
      case 1: return may_overflow ? INT32_MAX - static_cast<int32_t>(next(15)) : 0;
      default: return 1 + static_cast<int32_t>(next(300));
    }
  }
};

void open_screen(Input& in) {
  if (in.next(3) == 0) {
    constexpr int32_t depths[] = {1, 2, 4, 8, 15, 16, 24, 32, 3, 0};
    zv::screen_set_resolution(1 + in.next(1024), 1 + in.next(768), depths[in.next(10)], 1 + in.next(2),
                              zv::SCREEN_NULL, 0);
  } else {
    zv::screen_set_mode(static_cast<int32_t>(in.next(24)) - 1, static_cast<int32_t>(in.next(40)), 1 + in.next(2),
                        zv::SCREEN_NULL, 0);
  }
}

}  // namespace

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
