// Vectorised byte loops, written once over the vector width and built as SSE2 (16 bytes)
// and AVX2 (32 bytes). Each function is compiled for its instruction set alone and is
// reached only through byte_kernels() after simd_level() said the processor has it.
#include <cstring>

#include "gfx/core/byte_kernels.h"

namespace zv {

#if defined(__x86_64__) || defined(__i386__)

namespace {

template <int N>
struct Lanes {
  typedef uint8_t u8 __attribute__((vector_size(N)));
  typedef uint32_t u32 __attribute__((vector_size(N)));
  typedef uint8_t quarter_u8 __attribute__((vector_size(N / 4)));
};

// The bodies carry no instruction-set attribute; they are inlined into the
// wrappers below, which compile them for SSE2 or AVX2.
template <int N>
[[gnu::always_inline]] inline void copy_vec(uint8_t* destination, const uint8_t* source, size_t bytes) {
  typename Lanes<N>::u8 v;
  size_t i = 0;
  for (; i + N <= bytes; i += N) {
    std::memcpy(&v, source + i, N);
    std::memcpy(destination + i, &v, N);
  }
  plain_kernels.copy(destination + i, source + i, bytes - i);
}

template <int N>
[[gnu::always_inline]] inline void fill_vec(uint8_t* destination, uint32_t pattern, size_t bytes) {
  typename Lanes<N>::u32 v = typename Lanes<N>::u32{} + pattern;
  size_t i = 0;
  for (; i + N <= bytes; i += N) std::memcpy(destination + i, &v, N);
  // i is a multiple of 4, so the pattern goes on in step.
  plain_kernels.fill(destination + i, pattern, bytes - i);
}

template <int N>
[[gnu::always_inline]] inline void xor_vec(uint8_t* destination, const uint8_t* source, size_t bytes) {
  typename Lanes<N>::u8 d, s;
  size_t i = 0;
  for (; i + N <= bytes; i += N) {
    std::memcpy(&d, destination + i, N);
    std::memcpy(&s, source + i, N);
    d ^= s;
    std::memcpy(destination + i, &d, N);
  }
  plain_kernels.xor_into(destination + i, source + i, bytes - i);
}

// Per channel (d * (256 - a) + s * a) >> 8, which equals d + (((s - d) * a) >> 8) with the
// shift rounding down. Red and blue share one 32-bit lane: each product stays below
// 65536, so the two halves never carry into each other.
template <int N>
[[gnu::always_inline]] inline void blend_vec(uint8_t* destination, uint32_t colour, size_t pixels) {
  using W = typename Lanes<N>::u32;
  const uint32_t a = colour >> 24, keep = 256 - a;
  const uint32_t source_rb = (colour & 0x00FF00FF) * a, source_g = ((colour >> 8) & 0xFF) * a;
  const uint32_t alpha = colour & 0xFF000000u;
  size_t i = 0;
  for (; i + N / 4 <= pixels; i += N / 4) {
    W p;
    std::memcpy(&p, destination + 4 * i, N);
    W rb = (p & 0x00FF00FF) * keep + source_rb;
    W g = ((p >> 8) & 0xFF) * keep + source_g;
    p = ((rb >> 8) & 0x00FF00FF) | (g & 0xFF00) | alpha;
    std::memcpy(destination + 4 * i, &p, N);
  }
  plain_kernels.blend(destination + 4 * i, colour, pixels - i);
}

template <int N>
[[gnu::always_inline]] inline void alpha_mask_vec(uint8_t* destination, const uint8_t* source, size_t pixels) {
  using W = typename Lanes<N>::u32;
  typename Lanes<N>::quarter_u8 q;
  size_t i = 0;
  for (; i + N / 4 <= pixels; i += N / 4) {
    W p;
    std::memcpy(&q, source + i, N / 4);
    std::memcpy(&p, destination + 4 * i, N);
    p = (p & 0x00FFFFFF) | (__builtin_convertvector(q, W) << 24);
    std::memcpy(destination + 4 * i, &p, N);
  }
  plain_kernels.alpha_mask(destination + 4 * i, source + i, pixels - i);
}

#define ZV_SSE2 __attribute__((target("sse2")))
#define ZV_AVX2 __attribute__((target("avx2")))

ZV_SSE2 void copy_sse2(uint8_t* d, const uint8_t* s, size_t n) { copy_vec<16>(d, s, n); }
ZV_SSE2 void fill_sse2(uint8_t* d, uint32_t p, size_t n) { fill_vec<16>(d, p, n); }
ZV_SSE2 void xor_sse2(uint8_t* d, const uint8_t* s, size_t n) { xor_vec<16>(d, s, n); }
ZV_SSE2 void blend_sse2(uint8_t* d, uint32_t c, size_t n) { blend_vec<16>(d, c, n); }
ZV_SSE2 void alpha_mask_sse2(uint8_t* d, const uint8_t* s, size_t n) { alpha_mask_vec<16>(d, s, n); }

ZV_AVX2 void copy_avx2(uint8_t* d, const uint8_t* s, size_t n) { copy_vec<32>(d, s, n); }
ZV_AVX2 void fill_avx2(uint8_t* d, uint32_t p, size_t n) { fill_vec<32>(d, p, n); }
ZV_AVX2 void xor_avx2(uint8_t* d, const uint8_t* s, size_t n) { xor_vec<32>(d, s, n); }
ZV_AVX2 void blend_avx2(uint8_t* d, uint32_t c, size_t n) { blend_vec<32>(d, c, n); }
ZV_AVX2 void alpha_mask_avx2(uint8_t* d, const uint8_t* s, size_t n) { alpha_mask_vec<32>(d, s, n); }

const ByteKernels sse2_kernels = {copy_sse2, fill_sse2, xor_sse2, blend_sse2, alpha_mask_sse2};
const ByteKernels avx2_kernels = {copy_avx2, fill_avx2, xor_avx2, blend_avx2, alpha_mask_avx2};

}  // namespace

const ByteKernels& byte_kernels(SimdLevel level) {
  switch (level) {
    case SIMD_AVX512:
    case SIMD_AVX2: return avx2_kernels;
    case SIMD_SSE2: return sse2_kernels;
    default: return plain_kernels;
  }
}

#else

const ByteKernels& byte_kernels(SimdLevel) { return plain_kernels; }

#endif

}  // namespace zv
