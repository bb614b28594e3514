// The faster set built from SSE2 operations.
#include "display/blit/palette_member.h"
#include "display/blit/row_loop.h"

#if defined(__x86_64__) || defined(__i386__)

#include <emmintrin.h>

// Everything included above stays compiled for the default target; from here on, SSE2.
// GCC and clang spell this differently.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("sse2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("sse2")
#endif

namespace zv::blit {
namespace {

struct Sse2Ops {
  using V = __m128i;
  static constexpr int32_t lanes = 4;

  static V load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static V and_(V a, V b) { return _mm_and_si128(a, b); }
  static V or_(V a, V b) { return _mm_or_si128(a, b); }

  template <int32_t LaneBits>
  static V splat(uint32_t x) {
    if constexpr (LaneBits == 16) return _mm_set1_epi16(static_cast<int16_t>(x));
    else return _mm_set1_epi32(static_cast<int32_t>(x));
  }

  template <int32_t LaneBits, int32_t N>
  static V shift(V v) {
    if constexpr (N == 0) return v;
    else if constexpr (LaneBits == 16 && N > 0) return _mm_slli_epi16(v, N);
    else if constexpr (LaneBits == 16) return _mm_srli_epi16(v, -N);
    else if constexpr (N > 0) return _mm_slli_epi32(v, N);
    else return _mm_srli_epi32(v, -N);
  }

  // SSE2 packs with signed saturation only: sign-extending the low halves first makes it exact.
  static V pack16(V a, V b) {
    a = _mm_srai_epi32(_mm_slli_epi32(a, 16), 16);
    b = _mm_srai_epi32(_mm_slli_epi32(b, 16), 16);
    return _mm_packs_epi32(a, b);
  }

  static void widen16(V v, V& lo, V& hi) {
    lo = _mm_unpacklo_epi16(v, _mm_setzero_si128());
    hi = _mm_unpackhi_epi16(v, _mm_setzero_si128());
  }

  // Four pixels into their 12 bytes at the bottom of the vector, the rest zero.
  static V pack3(V v) {
    const V low_pixel = _mm_set1_epi64x(0x0000000000FFFFFF);
    const V high_pixel = _mm_set1_epi64x(0x0000FFFFFF000000);
    V six = _mm_or_si128(_mm_and_si128(v, low_pixel), _mm_and_si128(_mm_srli_epi64(v, 8), high_pixel));
    return _mm_or_si128(_mm_move_epi64(six), _mm_slli_si128(_mm_srli_si128(six, 8), 6));
  }

  static V swap_red_blue(V v) {
    const V low = _mm_set1_epi32(0xFF), middle = _mm_set1_epi32(0xFF00);
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi32(_mm_and_si128(v, low), 16), _mm_and_si128(v, middle)),
                        _mm_and_si128(_mm_srli_epi32(v, 16), low));
  }

  template <bool Swap>
  static void store24(uint8_t* p, V a, V b, V c, V d) {
    if constexpr (Swap) {
      a = swap_red_blue(a);
      b = swap_red_blue(b);
      c = swap_red_blue(c);
      d = swap_red_blue(d);
    }
    a = pack3(a);
    b = pack3(b);
    c = pack3(c);
    d = pack3(d);
    store(p, _mm_or_si128(a, _mm_slli_si128(b, 12)));
    store(p + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
    store(p + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
  }
};

}  // namespace
}  // namespace zv::blit

#include "display/blit/vector_kernels.h"

namespace zv::blit {
namespace {
constexpr BlitSet SSE2_SET = make_vector_set<Sse2Ops>();
}  // namespace
const BlitSet* sse2_blitters() { return &SSE2_SET; }
}  // namespace zv::blit

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

namespace zv::blit {
const BlitSet* sse2_blitters() { return nullptr; }
}  // namespace zv::blit

#endif
