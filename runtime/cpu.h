// What the processor offers, and which vectorised routines may be used.
#pragma once

#include <cstdint>

namespace zv {

// SIMD_AVX512 means AVX-512 with byte and word operations and the byte permutes (VBMI);
// code without a set of its own for a level uses the next lower one it has.
enum SimdLevel : int32_t { SIMD_NONE = 0, SIMD_SSE2 = 1, SIMD_AVX2 = 2, SIMD_AVX512 = 3 };

constexpr SimdLevel simd_at_most(SimdLevel level, SimdLevel top) { return level < top ? level : top; }

// The widest vector set that both the processor and the operating system support,
// or SIMD_NONE when the environment variable ZVGFX_NOSIMD is set to anything but "0".
// Computed once.
SimdLevel simd_level();
// Tests force a level (clamped to what the processor has); -1 goes back to detection.
void force_simd_level(int32_t level);

}  // namespace zv
