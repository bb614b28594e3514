#include "display/blit/widen.h"

#include <cstring>

#include "runtime/cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZV_WIDEN_AVX2 1
#endif

namespace zv {

namespace {

template <int32_t Bytes>
void widen_row(const uint8_t* source, uint8_t* destination, int32_t width, int32_t scale) {
  for (int32_t x = 0; x < width; ++x) {
    uint8_t pixel[Bytes];
    std::memcpy(pixel, source + Bytes * x, Bytes);
    for (int32_t k = 0; k < scale; ++k) std::memcpy(destination + Bytes * (x * scale + k), pixel, Bytes);
  }
}

using WidenRow = void (*)(const uint8_t*, uint8_t*, int32_t, int32_t);
constexpr WidenRow WIDEN_BY_BYTES[5] = {nullptr, &widen_row<1>, &widen_row<2>, &widen_row<3>, &widen_row<4>};

#if ZV_WIDEN_AVX2
// Widest scale the vector loop serves; larger ones are rare and go the plain way.
constexpr int32_t MAX_VECTOR_SCALE = 16;

// Eight 4-byte pixels become 8 * scale: output vector k holds pixels (8k + j) / scale.
__attribute__((target("avx2"))) void widen_row_avx2(const uint8_t* source, uint8_t* destination, int32_t width,
                                                    int32_t scale) {
  __m256i index[MAX_VECTOR_SCALE];
  for (int32_t k = 0; k < scale; ++k) {
    alignas(32) int32_t lanes[8];
    for (int32_t j = 0; j < 8; ++j) lanes[j] = (8 * k + j) / scale;
    index[k] = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
  }
  int32_t x = 0;
  for (; x + 8 <= width; x += 8) {
    const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 4 * x));
    uint8_t* out = destination + 4 * x * scale;
    for (int32_t k = 0; k < scale; ++k)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32 * k), _mm256_permutevar8x32_epi32(pixels, index[k]));
  }
  widen_row<4>(source + 4 * x, destination + 4 * x * scale, width - x, scale);
}
#endif

void widen(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
           int32_t width, int32_t rows, int32_t bytes, int32_t scale, bool vectors) {
  if (!source || !destination || bytes < 1 || bytes > 4 || scale < 1 || width <= 0 || rows <= 0) return;
  WidenRow row = WIDEN_BY_BYTES[bytes];
#if ZV_WIDEN_AVX2
  if (vectors && bytes == 4 && scale > 1 && scale <= MAX_VECTOR_SCALE && simd_level() >= SIMD_AVX2) {
    row = widen_row_avx2;
  }
#else
  (void)vectors;
#endif
  const size_t row_bytes = static_cast<size_t>(width) * bytes * scale;
  for (int32_t y = 0; y < rows; ++y) {
    uint8_t* first = destination + static_cast<intptr_t>(y) * scale * destination_pitch;
    row(source + static_cast<intptr_t>(y) * source_pitch, first, width, scale);
    for (int32_t k = 1; k < scale; ++k) std::memcpy(first + static_cast<intptr_t>(k) * destination_pitch, first, row_bytes);
  }
}

}  // namespace

void widen_rows(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                int32_t width, int32_t rows, int32_t bytes, int32_t scale) {
  widen(source, source_pitch, destination, destination_pitch, width, rows, bytes, scale, true);
}

void widen_rows_plain(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                      int32_t width, int32_t rows, int32_t bytes, int32_t scale) {
  widen(source, source_pitch, destination, destination_pitch, width, rows, bytes, scale, false);
}

}  // namespace zv
