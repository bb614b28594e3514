// Reading a fuzzer's bytes as arguments, and opening a screen from them.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gfx/core/screen.h"

namespace fuzz {

struct Input {
  const uint8_t* data;
  size_t size;
  uint32_t next(uint32_t bound) {  // 0 .. bound - 1, or 0 when the input is used up
    uint32_t v = 0;
    for (int i = 0; i < 4 && size; ++i, ++data, --size) v = v << 8 | *data;
    return bound ? v % bound : v;
  }
  int32_t any() { return static_cast<int32_t>(next(0)); }
  int32_t small(int32_t low, int32_t high) { return low + static_cast<int32_t>(next(uint32_t(high - low + 1))); }
  uint8_t byte() {
    if (!size) return 0;
    --size;
    return *data++;
  }
  // The extremes a caller can pass: NaN, infinities, the float range, +-2^31, any bit pattern.
  float coordinate() {
    switch (next(12)) {
      case 0: return NAN;
      case 1: return INFINITY;
      case 2: return -INFINITY;
      case 3: return next(2) ? 3e38f : -3e38f;
      case 4: return next(2) ? 2147483648.0f : -2147483648.0f;
      case 5: {
        float f;
        uint32_t bits = next(0);
        std::memcpy(&f, &bits, 4);
        return f;
      }
      default: return static_cast<float>(static_cast<int32_t>(next(800)) - 400) / 2;
    }
  }
  // A colour: small indices mostly, any 32-bit value now and then.
  uint32_t colour() { return next(4) ? next(300) : next(0); }
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

// Any mode, or a free resolution of any depth, on the null driver; it may fail.
inline void open_screen(Input& in) {
  if (in.next(3) == 0) {
    constexpr int32_t depths[] = {1, 2, 4, 8, 15, 16, 24, 32, 3, 0};
    zv::screen_set_resolution(1 + in.next(1024), 1 + in.next(768), depths[in.next(10)], 1 + in.next(2),
                              zv::SCREEN_NULL, 0);
  } else {
    zv::screen_set_mode(static_cast<int32_t>(in.next(24)) - 1, static_cast<int32_t>(in.next(40)), 1 + in.next(2),
                        zv::SCREEN_NULL, 0);
  }
}

}  // namespace fuzz
