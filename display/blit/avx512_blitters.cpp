// The AVX-512 set: indexed pages looked up 64 pixels at a time with byte permutes (VBMI).
// The palette, already in the surface's layout, is split into byte planes of 256 entries;
// two two-table permutes and a blend on the index's top bit give one plane for 64 pixels,
// and word and byte interleaves put the planes together. Every other member is left to
// the AVX2 set.
#include "display/blit/palette_member.h"
#include "display/blit/row_loop.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Everything included above stays compiled for the default target; from here on, AVX-512.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512bw,avx512vl,avx512vbmi")
#endif

namespace zv::blit {
namespace {

// One byte plane of the converted palette as four 64-entry tables.
struct Plane {
  __m512i t[4];
  explicit Plane(const uint8_t* bytes) {
    for (int32_t k = 0; k < 4; ++k) t[k] = _mm512_load_si512(bytes + 64 * k);
  }
  // Plane bytes of 64 indices: the low seven bits choose within two tables, the top bit between them.
  __m512i look_up(__m512i indices, __mmask64 high) const {
    __m512i low = _mm512_permutex2var_epi8(t[0], indices, t[1]);
    __m512i top = _mm512_permutex2var_epi8(t[2], indices, t[3]);
    return _mm512_mask_blend_epi8(high, low, top);
  }
};

// Interleave tables: element j of a beside element j of b, for the lower or the upper half
// of the elements (64 bytes or 32 words per vector).
template <class Element, bool Upper>
struct Interleave {
  static constexpr int32_t count = 64 / sizeof(Element);
  alignas(64) Element index[count];
  constexpr Interleave() : index{} {
    for (int32_t j = 0; j < count / 2; ++j) {
      int32_t from = j + (Upper ? count / 2 : 0);
      index[2 * j] = static_cast<Element>(from);
      index[2 * j + 1] = static_cast<Element>(from + count);
    }
  }
  __m512i load() const { return _mm512_load_si512(index); }
};

constexpr Interleave<uint8_t, false> LOW_BYTES;
constexpr Interleave<uint8_t, true> HIGH_BYTES;
constexpr Interleave<uint16_t, false> LOW_WORDS;
constexpr Interleave<uint16_t, true> HIGH_WORDS;

template <Format Dest, bool RedLow>
struct VbmiPaletteMember {
  static_assert(Dest.bytes == 2 || Dest.bytes == 4);
  static constexpr int32_t source_bytes = 1, dest_bytes = Dest.bytes;
  using Scalar = PaletteMember<Dest, RedLow>;

  static bool prepare(const GraphicsState& gs, RowContext& context) {
    if (!Scalar::prepare(gs, context)) return false;
    // The colour fields of these layouts lie in the low three bytes: the fourth plane is zero.
    for (int32_t i = 0; i < 256; ++i)
      for (int32_t p = 0; p < 3; ++p) context.planes[p][i] = static_cast<uint8_t>(context.converted[i] >> (8 * p));
    return true;
  }

  // Converts n (1 to 64) pixels; lanes past n are neither read nor written.
  static void block(const uint8_t* source, uint8_t* destination, int32_t n, const Plane* planes) {
    const __mmask64 in = n == 64 ? ~__mmask64{0} : (__mmask64{1} << n) - 1;
    const __m512i indices = _mm512_maskz_loadu_epi8(in, source);
    const __mmask64 high = _mm512_movepi8_mask(indices);
    const __m512i low_bytes = LOW_BYTES.load(), high_bytes = HIGH_BYTES.load();
    const __m512i first = planes[0].look_up(indices, high), second = planes[1].look_up(indices, high);
    // Pixels 0-31 and 32-63 with the first two bytes of each.
    const __m512i pairs[2] = {_mm512_permutex2var_epi8(first, low_bytes, second),
                              _mm512_permutex2var_epi8(first, high_bytes, second)};
    if constexpr (Dest.bytes == 2) {
      _mm512_mask_storeu_epi16(destination, static_cast<__mmask32>(in), pairs[0]);
      _mm512_mask_storeu_epi16(destination + 64, static_cast<__mmask32>(in >> 32), pairs[1]);
    } else {
      const __m512i third = planes[2].look_up(indices, high);
      // The third byte of each pixel with a zero above it, as words.
      const __m512i zero = _mm512_setzero_si512();
      const __m512i thirds[2] = {_mm512_permutex2var_epi8(third, low_bytes, zero),
                                 _mm512_permutex2var_epi8(third, high_bytes, zero)};
      const __m512i low_words = LOW_WORDS.load(), high_words = HIGH_WORDS.load();
      for (int32_t k = 0; k < 4; ++k) {
        const __m512i& pair = pairs[k / 2];
        const __m512i& top = thirds[k / 2];
        __m512i pixels = _mm512_permutex2var_epi16(pair, k % 2 ? high_words : low_words, top);
        _mm512_mask_storeu_epi32(destination + 64 * k, static_cast<__mmask16>(in >> (16 * k)), pixels);
      }
    }
  }

  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext& context) {
    // Short stretches cost less one pixel at a time than loading the tables.
    if (width < 16) return Scalar::row(source, destination, width, context);
    const Plane planes[3] = {Plane(context.planes[0]), Plane(context.planes[1]),
                             Plane(Dest.bytes == 4 ? context.planes[2] : context.planes[0])};
    int32_t i = 0;
    for (; i + 64 <= width; i += 64) block(source + i, destination + Dest.bytes * i, 64, planes);
    if (i < width) block(source + i, destination + Dest.bytes * i, width - i, planes);
  }
};

template <Format Dest, bool RedLow>
constexpr BlitMember vbmi_member = member_of<VbmiPaletteMember<Dest, RedLow>>;

constexpr BlitSet AVX512_SET{{
    {{{}, {}},
     {vbmi_member<FORMAT_555, false>, vbmi_member<FORMAT_555, true>},
     {vbmi_member<FORMAT_565, false>, vbmi_member<FORMAT_565, true>},
     {{}, {}},
     {vbmi_member<FORMAT_8888, false>, vbmi_member<FORMAT_8888, true>}},
    {},
    {},
}};

}  // namespace

const BlitSet* avx512_blitters() { return &AVX512_SET; }

}  // namespace zv::blit

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

#else

namespace zv::blit {
const BlitSet* avx512_blitters() { return nullptr; }
}  // namespace zv::blit

#endif
