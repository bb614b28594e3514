// Integer widening: the vector loop gives the plain loop's bytes, and both give every
// output pixel the source pixel it lies over.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>
#include <vector>

#include "display/blit/widen.h"
#include "runtime/cpu.h"

namespace {

struct Rows {
  std::vector<uint8_t> bytes;
  int32_t pitch;
};

Rows widened(bool plain, const Rows& source, int32_t width, int32_t rows, int32_t bytes, int32_t scale, int32_t slack) {
  Rows out{std::vector<uint8_t>(), width * bytes * scale + slack};
  out.bytes.assign(static_cast<size_t>(out.pitch) * rows * scale, 0xA5);
  (plain ? zv::widen_rows_plain : zv::widen_rows)(source.bytes.data(), source.pitch, out.bytes.data(), out.pitch,
                                                  width, rows, bytes, scale);
  return out;
}

TEST(Widen, VectorLoopMatchesPlainAndEveryPixelIsItsSource) {
  for (int32_t level : {zv::SIMD_NONE, zv::SIMD_AVX2, zv::SIMD_AVX512}) {
    zv::force_simd_level(level);
    uint32_t seed = 1;
    for (int32_t bytes = 1; bytes <= 4; ++bytes)
      for (int32_t scale = 1; scale <= 17; ++scale)
        for (int32_t width : {1, 7, 8, 9, 33, 100}) {
          std::mt19937 rng(seed++);
          const int32_t rows = 1 + static_cast<int32_t>(rng() % 3), slack = static_cast<int32_t>(rng() % 5);
          Rows source{std::vector<uint8_t>(), width * bytes + slack};
          source.bytes.resize(static_cast<size_t>(source.pitch) * rows);
          for (auto& b : source.bytes) b = static_cast<uint8_t>(rng());
          Rows fast = widened(false, source, width, rows, bytes, scale, slack);
          Rows plain = widened(true, source, width, rows, bytes, scale, slack);
          ASSERT_EQ(fast.bytes, plain.bytes) << "level " << level << " bytes " << bytes << " scale " << scale
                                             << " width " << width;
          for (int32_t y = 0; y < rows * scale; ++y)
            for (int32_t x = 0; x < width * scale; ++x)
              ASSERT_EQ(std::memcmp(&plain.bytes[static_cast<size_t>(y) * plain.pitch + x * bytes],
                                    &source.bytes[static_cast<size_t>(y / scale) * source.pitch + (x / scale) * bytes],
                                    bytes),
                        0)
                  << "bytes " << bytes << " scale " << scale << " at " << x << ", " << y;
          // The slack after each row is left alone.
          for (int32_t y = 0; y < rows * scale; ++y)
            for (int32_t k = width * bytes * scale; k < plain.pitch; ++k)
              ASSERT_EQ(plain.bytes[static_cast<size_t>(y) * plain.pitch + k], 0xA5);
        }
  }
  zv::force_simd_level(-1);
}

TEST(Widen, ArgumentsOutOfRangeWriteNothing) {
  std::vector<uint8_t> source(64, 1), out(256, 0);
  for (auto [bytes, scale, width, rows] : {std::tuple{0, 2, 4, 1}, {5, 2, 4, 1}, {4, 0, 4, 1}, {4, 2, 0, 1}, {4, 2, 4, -1}})
    zv::widen_rows(source.data(), 16, out.data(), 64, width, rows, bytes, scale);
  zv::widen_rows(nullptr, 16, out.data(), 64, 4, 1, 4, 2);
  EXPECT_EQ(out, std::vector<uint8_t>(256, 0));
}

}  // namespace
