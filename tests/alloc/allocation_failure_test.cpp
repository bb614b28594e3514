// Every allocation of a typical session made to fail in turn: open a screen, create and
// put an image, PAINT, DRAW, assign and join strings. Whichever allocation fails, nothing
// crashes, a failed open reports error 1, nothing leaks, and the same session run again
// without failures succeeds in full.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gfx/core/screen.h"
#include "gfx/draw/draw_macro.h"
#include "gfx/draw/paint.h"
#include "gfx/image/image.h"
#include "gfx/image/put.h"
#include "platform/memory.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define ZV_LEAK_CHECK() __lsan_do_recoverable_leak_check()
#else
#define ZV_LEAK_CHECK() 0
#endif

using namespace zv;

namespace {

struct Session {
  int32_t open_result = -1;
  int32_t open_error = -1;
  bool image = false;
  std::string joined;  // what the strings came to
};

std::string text_of(const StringDescriptor& s) { return s.data ? std::string(s.data, size_t(str_length(&s))) : ""; }

// mode > 0 is a numbered mode; mode <= 0 a free resolution of depth -mode.
Session run_session(int32_t mode) {
  Session s;
  s.open_result = mode > 0 ? screen_set_mode(mode, 0, 1, SCREEN_NULL, 0)
                           : screen_set_resolution(200, 120, -mode, 1, SCREEN_NULL, 0);
  s.open_error = get_error();
  if (s.open_result == 0) {
    if (ImageBuffer* image = image_create(20, 15, 3, 0, 0)) {
      s.image = true;
      put_image(nullptr, 5, 5, image, NOT_GIVEN, 0, 0, 0, -1, PUT_MODE_XOR, put_xor_dispatch, -1, nullptr, 0);
      image_destroy(image);
    }
    char commands[] = "C3 BM40,40 R30 D30 L30 U30 BF5 P2,3";
    StringDescriptor draw{commands, int32_t(std::strlen(commands)), int32_t(std::strlen(commands))};
    draw_macro(nullptr, &draw);
    paint_fill(nullptr, 100, 100, 4, 4, nullptr, 0, 0);
  }
  StringDescriptor word{}, part{};
  str_assign(&word, STR_DESCRIPTOR, "morv", 0, 0);
  str_assign(&part, STR_DESCRIPTOR, str_mid(str_temp_wrap("-zvgfx-", 7), 2, 5), STR_DESCRIPTOR, 0);
  str_assign(&word, STR_DESCRIPTOR, char_string(2, 'o', 'k'), STR_DESCRIPTOR, 0);
  s.joined = text_of(part) + "+" + text_of(word);
  str_free(&word);
  str_free(&part);
  screen_set_mode(0, 0, 0, 0, 0);
  return s;
}

}  // namespace

TEST(AllocationFailure, EveryAllocationOfASessionFailsCleanly) {
#if defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "one thread only: the address sanitizer build runs it";
#endif
  runtime_init();
  int32_t modes[40];
  int32_t mode_count = 0;
  for (int32_t m = 1; m <= 21; ++m)
    if (const ModeInfo* row = mode_info(m); row && row->width) modes[mode_count++] = m;
  for (int32_t depth : {8, 16, 32}) modes[mode_count++] = -depth;

  int64_t points = 0;
  for (int32_t i = 0; i < mode_count; ++i) {
    const int32_t mode = modes[i];
    for (int64_t k = 1;; ++k) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << ", allocation " << k << " fails");
      platform::fail_allocation(k);
      const Session failing = run_session(mode);
      const bool reached = platform::allocation_count() >= k;
      platform::fail_allocation(0);
      if (failing.open_result != 0) {
        EXPECT_EQ(failing.open_result, ERR_ILLEGAL_CALL);
        EXPECT_EQ(failing.open_error, ERR_ILLEGAL_CALL);
      }
      EXPECT_EQ(current_screen, nullptr);
      EXPECT_EQ(temp_desc_in_use(), 0);
      // The library is as good as before: the same session without failures succeeds.
      const Session healthy = run_session(mode);
      EXPECT_EQ(healthy.open_result, 0);
      EXPECT_TRUE(healthy.image);
      EXPECT_EQ(healthy.joined, "zvgfx+ok");
      if (!reached) break;
      ++points;
    }
    EXPECT_EQ(ZV_LEAK_CHECK(), 0) << "mode " << mode;
  }
  std::printf("allocation-failure points tried: %lld over %d modes\n", static_cast<long long>(points), mode_count);
  EXPECT_GT(points, 10 * mode_count);
}
