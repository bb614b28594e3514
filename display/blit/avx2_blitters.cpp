// The faster set built from AVX2 operations.
#include "display/blit/palette_member.h"
#include "display/blit/row_loop.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Everything included above stays compiled for the default target; from here on, AVX2.
// GCC and clang spell this differently.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace zv::blit {
namespace {

struct Avx2Ops {
  using V = __m256i;
  static constexpr int32_t lanes = 8;

  static V load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static void store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
  static V and_(V a, V b) { return _mm256_and_si256(a, b); }
  static V or_(V a, V b) { return _mm256_or_si256(a, b); }

  template <int32_t LaneBits>
  static V splat(uint32_t x) {
    if constexpr (LaneBits == 16) return _mm256_set1_epi16(static_cast<int16_t>(x));
    else return _mm256_set1_epi32(static_cast<int32_t>(x));
  }

  template <int32_t LaneBits, int32_t N>
  static V shift(V v) {
    if constexpr (N == 0) return v;
    else if constexpr (LaneBits == 16 && N > 0) return _mm256_slli_epi16(v, N);
    else if constexpr (LaneBits == 16) return _mm256_srli_epi16(v, -N);
    else if constexpr (N > 0) return _mm256_slli_epi32(v, N);
    else return _mm256_srli_epi32(v, -N);
  }

  // The packs work within 128-bit halves; the permute puts the four quarters back in order.
  static V pack16(V a, V b) { return _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8); }

  static void widen16(V v, V& lo, V& hi) {
    v = _mm256_permute4x64_epi64(v, 0xD8);
    lo = _mm256_unpacklo_epi16(v, _mm256_setzero_si256());
    hi = _mm256_unpackhi_epi16(v, _mm256_setzero_si256());
  }

  // Eight pixels into their 24 bytes at the bottom of the vector, first and third bytes
  // exchanged when Swap.
  template <bool Swap>
  static V pack3(V v) {
    const V bytes = Swap ? _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1,  //
                                            2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1)
                         : _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                                            0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const V words = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    return _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(v, bytes), words);
  }

  // Each full store's last 8 bytes are overwritten by the next; the last one stores 24.
  template <bool Swap>
  static void store24(uint8_t* p, V a, V b, V c, V d) {
    store(p, pack3<Swap>(a));
    store(p + 24, pack3<Swap>(b));
    store(p + 48, pack3<Swap>(c));
    d = pack3<Swap>(d);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 72), _mm256_castsi256_si128(d));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 88), _mm256_extracti128_si256(d, 1));
  }
};

}  // namespace
}  // namespace zv::blit

#include "display/blit/vector_kernels.h"

namespace zv::blit {
namespace {
// Indexed pages: eight palette entries per gather, already in the surface's layout. The
// entries of 15- and 16-bit layouts fit in 16 bits, so the unsigned pack keeps them exact.
template <Format Dest, bool RedLow>
struct GatherPaletteMember {
  static_assert(Dest.bytes == 2 || Dest.bytes == 4);
  static constexpr int32_t source_bytes = 1, dest_bytes = Dest.bytes;
  using Scalar = PaletteMember<Dest, RedLow>;
  static bool prepare(const GraphicsState& gs, RowContext& context) { return Scalar::prepare(gs, context); }

  static __m256i gather8(const uint8_t* source, const int* table) {
    const __m128i eight = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source));
    return _mm256_i32gather_epi32(table, _mm256_cvtepu8_epi32(eight), 4);
  }

  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext& context) {
    const int* table = reinterpret_cast<const int*>(context.converted);
    int32_t i = 0;
    for (; i + 16 <= width; i += 16) {
      const __m256i a = gather8(source + i, table), b = gather8(source + i + 8, table);
      if constexpr (Dest.bytes == 2) {
        Avx2Ops::store(destination + 2 * i, Avx2Ops::pack16(a, b));
      } else {
        Avx2Ops::store(destination + 4 * i, a);
        Avx2Ops::store(destination + 4 * i + 32, b);
      }
    }
    Scalar::row(source + i, destination + Dest.bytes * i, width - i, context);
  }
};

template <Format Dest, bool RedLow>
constexpr BlitMember gather_member = member_of<GatherPaletteMember<Dest, RedLow>>;

constexpr BlitSet with_gathers(BlitSet set) {
  for (int32_t order = 0; order < 2; ++order) {
    set.member[SOURCE_INDEXED][TYPE_15][order] = order ? gather_member<FORMAT_555, true> : gather_member<FORMAT_555, false>;
    set.member[SOURCE_INDEXED][TYPE_16][order] = order ? gather_member<FORMAT_565, true> : gather_member<FORMAT_565, false>;
    set.member[SOURCE_INDEXED][TYPE_32][order] =
        order ? gather_member<FORMAT_8888, true> : gather_member<FORMAT_8888, false>;
  }
  return set;
}

constexpr BlitSet AVX2_SET = with_gathers(make_vector_set<Avx2Ops>());
}  // namespace
const BlitSet* avx2_blitters() { return &AVX2_SET; }
}  // namespace zv::blit

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

namespace zv::blit {
const BlitSet* avx2_blitters() { return nullptr; }
}  // namespace zv::blit

#endif
