#include "runtime/cpu.h"

#include <cstdarg>

#include "platform/platform.h"
#include "runtime/runtime.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define ZV_X86 1
#endif

namespace zv {

namespace {

bool cpu_known = false;
uint32_t cpu_word = 0;

SimdLevel detected_level() {
#if ZV_X86
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return SIMD_NONE;
  if (!(d & (1u << 26))) return SIMD_NONE;  // SSE2
  bool osxsave = c & (1u << 27), avx = c & (1u << 28);
  if (!osxsave || !avx) return SIMD_SSE2;
  unsigned lo, hi;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  (void)hi;
  unsigned a7, b7, c7, d7;
  if ((lo & 6) != 6 || !__get_cpuid_count(7, 0, &a7, &b7, &c7, &d7) || !(b7 & (1u << 5))) return SIMD_SSE2;
  // The system must save the mask and upper vector registers too (state bits 5 to 7).
  bool avx512 = (lo & 0xE0) == 0xE0 && (b7 & (1u << 16)) && (b7 & (1u << 30)) && (b7 & (1u << 31)) &&
                (c7 & (1u << 1));
  return avx512 ? SIMD_AVX512 : SIMD_AVX2;
#else
  return SIMD_NONE;
#endif
}

int32_t level_cache = -1;
int32_t level_forced = -1;

}  // namespace

uint32_t cpu_features() {
  if (cpu_known) return cpu_word;
#if ZV_X86
  // Every processor that can run this build answers the identification instruction,
  // so the flag-toggling probes for older ones are not needed.
  unsigned a, b, c, d;
  if (__get_cpuid(1, &a, &b, &c, &d)) {
    uint32_t family = (a >> 8) & 0xF;
    uint32_t word = (family << 24) | (d & 0xFFFFFF);
    if (family == 15) word |= ((a >> 20) & 0xF) << 28;
    cpu_word = word;
  }
#endif
  cpu_known = true;
  return cpu_word;
}

SimdLevel simd_level() {
  if (level_forced >= 0) return static_cast<SimdLevel>(level_forced);
  if (level_cache < 0) {
    const char* off = platform::get_env("ZVGFX_NOSIMD");
    bool disabled = off && off[0] && !(off[0] == '0' && off[1] == 0);
    level_cache = disabled ? SIMD_NONE : detected_level();
  }
  return static_cast<SimdLevel>(level_cache);
}

void force_simd_level(int32_t level) {
  if (level < 0) {
    level_forced = -1;
    return;
  }
  int32_t hardware = detected_level();
  level_forced = level < hardware ? level : hardware;
}

}  // namespace zv
