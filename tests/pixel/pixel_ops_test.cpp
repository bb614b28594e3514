#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "gfx/core/byte_kernels.h"
#include "gfx/core/pixel_ops.h"
#include "gfx/image/put.h"
#include "runtime/cpu.h"

using namespace zv;

TEST(ConvertColour, FollowsTheTargetFormat) {
  EXPECT_EQ(convert_colour(2, 0xFFFFFF), 0xFFFFu);
  EXPECT_EQ(convert_colour(2, 0xFF0000), 0xF800u);
  EXPECT_EQ(convert_colour(2, 0x00FC00), 0x07E0u);
  EXPECT_EQ(convert_colour(2, 0x0000F8), 0x001Fu);
  EXPECT_EQ(convert_colour(1, 0x1234), 0x34u);
  EXPECT_EQ(convert_colour(4, 0x80123456), 0x80123456u);
  EXPECT_EQ(rgb_to_565(4, 77, 255, 255, 255), 77u);
  EXPECT_EQ(rgb_to_565(2, 77, 255, 0, 0), 0xF800u);
}

TEST(Blend, AlphaZeroKeepsAndFullAlphaReachesWithinOneStep) {
  for (uint32_t d : {0u, 0x00FFFFFFu, 0x12345678u, 0xFF808080u}) {
    for (uint32_t s : {0x00000000u, 0x00FFFFFFu, 0x00ABCDEFu}) {
      EXPECT_EQ(blend_pixel_value(d, s) & 0xFFFFFF, d & 0xFFFFFF);
      uint32_t full = blend_pixel_value(d, s | 0xFF000000u);
      EXPECT_EQ(full >> 24, 0xFFu);
      for (int shift : {0, 8, 16}) {
        int got = (full >> shift) & 0xFF, want = (s >> shift) & 0xFF;
        EXPECT_LE(std::abs(got - want), 1) << std::hex << d << " " << s;
      }
    }
  }
  // The shift rounds toward minus infinity: 0 + ((255 - 0) * 128 >> 8) = 127, 255 + ((0 - 255) * 128 >> 8) = 127.
  EXPECT_EQ(blend_channel(0, 255, 128), 127u);
  EXPECT_EQ(blend_channel(255, 0, 128), 127u);
  EXPECT_EQ(blend_channel(10, 0, 1), 9u);
}

namespace {

struct LevelGuard {
  ~LevelGuard() { force_simd_level(-1); }
};

std::vector<SimdLevel> vector_levels() {
  std::vector<SimdLevel> levels;
  for (SimdLevel l : {SIMD_SSE2, SIMD_AVX2}) {
    force_simd_level(l);
    if (simd_level() == l) levels.push_back(l);
  }
  force_simd_level(-1);
  return levels;
}

// Runs op on two copies of the same random bytes, plain and at `level`, at every
// length 0..130 and every start offset 0..7, and reports the first difference.
template <class Op>
void expect_same_bytes(const char* what, SimdLevel level, Op op) {
  std::mt19937 random(12345);
  std::vector<uint8_t> plain(4 * 160 + 64), vec(plain.size()), source(plain.size());
  for (int length = 0; length <= 130; ++length) {
    for (int offset = 0; offset < 8; ++offset) {
      for (auto& b : plain) b = static_cast<uint8_t>(random());
      for (auto& b : source) b = static_cast<uint8_t>(random());
      vec = plain;
      uint32_t colour = random();
      op(plain_kernels, plain.data() + offset, source.data() + (offset * 3) % 8, length, colour);
      op(byte_kernels(level), vec.data() + offset, source.data() + (offset * 3) % 8, length, colour);
      ASSERT_EQ(plain, vec) << what << " level " << level << " length " << length << " offset " << offset;
    }
  }
}

}  // namespace

TEST(VectorKernels, GiveTheSameBytesAsThePlainLoops) {
  for (SimdLevel level : vector_levels()) {
    expect_same_bytes("copy", level, [](const ByteKernels& k, uint8_t* d, const uint8_t* s, int n, uint32_t) {
      k.copy(d, s, n * 4);
    });
    expect_same_bytes("fill", level, [](const ByteKernels& k, uint8_t* d, const uint8_t*, int n, uint32_t c) {
      k.fill(d, c, n * 3);
    });
    expect_same_bytes("xor", level, [](const ByteKernels& k, uint8_t* d, const uint8_t* s, int n, uint32_t) {
      k.xor_into(d, s, n * 4);
    });
    expect_same_bytes("blend", level, [](const ByteKernels& k, uint8_t* d, const uint8_t*, int n, uint32_t c) {
      k.blend(d, c, n);
    });
    expect_same_bytes("alpha mask", level, [](const ByteKernels& k, uint8_t* d, const uint8_t* s, int n, uint32_t) {
      k.alpha_mask(d, s, n);
    });
  }
}

TEST(VectorKernels, BlendMatchesForEveryAlphaAndChannelPair) {
  for (SimdLevel level : vector_levels()) {
    std::vector<uint8_t> plain(256 * 4), vec;
    for (uint32_t a = 0; a < 256; a += 3) {
      for (uint32_t s = 0; s < 256; s += 5) {
        for (uint32_t d = 0; d < 256; ++d) {
          uint32_t p = d * 0x01010101u;
          std::memcpy(&plain[d * 4], &p, 4);
        }
        vec = plain;
        uint32_t colour = a << 24 | s * 0x010101u;
        plain_kernels.blend(plain.data(), colour, 256);
        byte_kernels(level).blend(vec.data(), colour, 256);
        ASSERT_EQ(plain, vec) << "alpha " << a << " source " << s;
      }
    }
  }
}

TEST(DepthOps, SpansWriteExactlyTheirCountAtEveryLevel) {
  LevelGuard guard;
  for (int level = SIMD_NONE; level <= SIMD_AVX2; ++level) {
    force_simd_level(level);
    for (int bpp : {1, 2, 4}) {
      set_depth_ops(bpp);
      for (int count : {0, 1, 3, 9, 17, 33, -5}) {
        std::vector<uint8_t> buffer(4 * 40 + 8, 0xEE);
        depth_ops.fill_span(buffer.data() + 4, 0x11223344u, count);
        int written = count > 0 ? count * bpp : 0;
        for (int i = 0; i < static_cast<int>(buffer.size()); ++i) {
          bool inside = i >= 4 && i < 4 + written;
          uint8_t want = inside ? static_cast<uint8_t>(0x11223344u >> (8 * ((i - 4) % bpp))) : 0xEE;
          ASSERT_EQ(buffer[i], want) << "bpp " << bpp << " count " << count << " byte " << i;
        }
        std::vector<uint8_t> copy(buffer.size(), 0);
        depth_ops.copy_pixels(copy.data(), buffer.data(), count);
        EXPECT_EQ(std::memcmp(copy.data(), buffer.data(), written), 0);
      }
      EXPECT_EQ(depth_ops.current_plain_fill, depth_ops.fill_span);
    }
  }
}

TEST(Putters, VectorXorAndAlphaMaskMatchThePlainOnes) {
  std::mt19937 random(777);
  for (SimdLevel level : vector_levels()) {
    for (int bpp : {1, 2, 4}) {
      for (int trial = 0; trial < 200; ++trial) {
        int width = random() % 70, height = 1 + random() % 5;
        int source_pitch = width * bpp + random() % 9, destination_pitch = width * bpp + random() % 13;
        std::vector<uint8_t> source(source_pitch * height + 8), plain(destination_pitch * height + 8);
        for (auto& b : source) b = static_cast<uint8_t>(random());
        for (auto& b : plain) b = static_cast<uint8_t>(random());
        std::vector<uint8_t> vec = plain;
        int skew = random() % 8;
        xor_putters(SIMD_NONE)[bpp](source.data() + skew, plain.data() + 1, width, height, source_pitch,
                                    destination_pitch, -1, nullptr, 0);
        xor_putters(level)[bpp](source.data() + skew, vec.data() + 1, width, height, source_pitch,
                                destination_pitch, -1, nullptr, 0);
        ASSERT_EQ(plain, vec) << "xor bpp " << bpp << " trial " << trial;
        if (bpp == 4) {
          alpha_mask_putter(SIMD_NONE)(source.data(), plain.data(), width, height, source_pitch / 4 * 1,
                                       destination_pitch, -1, nullptr, 0);
          alpha_mask_putter(level)(source.data(), vec.data(), width, height, source_pitch / 4 * 1,
                                   destination_pitch, -1, nullptr, 0);
          ASSERT_EQ(plain, vec) << "alpha mask trial " << trial;
        }
      }
    }
  }
  EXPECT_EQ(xor_putters(SIMD_NONE)[3], nullptr);
  EXPECT_EQ(xor_putters(SIMD_NONE)[0], nullptr);
}
