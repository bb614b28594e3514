// One frame of the saver (screen_lock to screen_unlock, the pauses made free) on the
// in-memory screen, against a memset of the same 640 x 400 x 4 framebuffer. The two
// are timed in alternating rounds and the best round of each counts, so a busy
// machine slows both alike.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/saver_harness.h"
#include "app/screensaver.h"
#include "gfx/core/screen.h"
#include "gfx/image/image.h"
#include "runtime/cpu.h"
#include "runtime/runtime.h"

namespace {

constexpr size_t FRAMEBUFFER_BYTES = 640 * 400 * 4;
// A frame clears the whole page once and draws little else, so it should cost
// little more than filling the page.
constexpr double FRAME_LIMIT = 2.5;
constexpr int32_t ROUNDS = 40;
constexpr int32_t REPEATS = 25;

using Clock = std::chrono::steady_clock;

template <class Work>
double nanoseconds_per_repeat(Work&& work) {
  const auto start = Clock::now();
  for (int32_t i = 0; i < REPEATS; ++i) work();
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / REPEATS;
}

const char* vector_set() {
  switch (zv::simd_level()) {
    case zv::SIMD_AVX512: return "AVX-512 (AVX2 for drawing)";
    case zv::SIMD_AVX2: return "AVX2";
    case zv::SIMD_SSE2: return "SSE2";
    default: return "none";
  }
}

}  // namespace

int main() {
  zv::runtime_init();
  std::vector<uint8_t> framebuffer(FRAMEBUFFER_BYTES);
  volatile uint8_t sink = 0;
  uint8_t value = 0;
  auto fill = [&] {
    std::memset(framebuffer.data(), value++, framebuffer.size());
    sink = framebuffer[value * 997];
  };

  morv::HarnessOptions options;
  options.seed = 12345;
  options.frames = 0;
  morv::harness_begin(options);
  morv::SaverState saver;
  if (!morv::saver_setup(&saver)) {
    std::fprintf(stderr, "bench_frame: the in-memory screen did not open\n");
    return 1;
  }
  auto frame = [&] { morv::saver_frame(&saver); };
  // Two parts of the frame on their own, to show where the time goes.
  auto clear = [] {
    zv::screen_lock();
    zv::clear_screen(zv::NOT_GIVEN);
    zv::screen_unlock(-1, -1);
  };
  auto credit = [] {
    zv::screen_lock();
    zv::locate(12, morv::CREDIT_COLUMN, -1);
    zv::print_string(0, zv::str_temp_wrap_cstr(morv::CREDIT), 1);
    zv::screen_unlock(-1, -1);
  };

  double best_fill = 1e300, best_frame = 1e300, best_clear = 1e300, best_credit = 1e300;
  for (int32_t round = 0; round < ROUNDS; ++round) {
    best_fill = std::min(best_fill, nanoseconds_per_repeat(fill));
    best_frame = std::min(best_frame, nanoseconds_per_repeat(frame));
    best_clear = std::min(best_clear, nanoseconds_per_repeat(clear));
    best_credit = std::min(best_credit, nanoseconds_per_repeat(credit));
  }
  zv::image_destroy(saver.image);
  zv::str_free(&saver.picture);
  morv::harness_end();

  const double ratio = best_frame / best_fill;
  std::printf("Saver frame (vector set: %s): %.1f us; memset of the 640 x 400 x 4 framebuffer: %.1f us\n",
              vector_set(), best_frame / 1000, best_fill / 1000);
  std::printf("  of which the clear: %.1f us (%.2f x memset), the credit line: %.1f us (%.2f x memset)\n",
              best_clear / 1000, best_clear / best_fill, best_credit / 1000, best_credit / best_fill);
  std::printf("frame / memset = %.2f (limit %.1f) %s\n", ratio, FRAME_LIMIT, ratio <= FRAME_LIMIT ? "PASS" : "MISS");
  zv::runtime_exit();
  return 0;
}
