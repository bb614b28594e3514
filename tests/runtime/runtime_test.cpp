#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "input/console/console_input.h"
#include "runtime/cpu.h"
#include "runtime/random_timer.h"
#include "runtime/runtime.h"

using namespace zv;

namespace {

// Saves the hook table and text-window bounds, and restores both.
class RuntimeTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_hooks_ = runtime.hooks;
    std::memset(&runtime.hooks, 0, sizeof runtime.hooks);
    view_store(-1, -1);
    set_width(80, 25);
    set_error(0);
  }
  void TearDown() override {
    runtime.hooks = saved_hooks_;
    view_store(-1, -1);
  }
  RuntimeHooks saved_hooks_{};
};

int32_t page_set_calls = 0;
int32_t counting_page_set(int32_t, int32_t) { return ++page_set_calls; }

int32_t hooked_color(int32_t fg, int32_t bg, int32_t flags) { return fg * 1000 + bg * 10 + flags; }

}  // namespace

TEST_F(RuntimeTest, InitNestsAndOnlyTheOutermostCallsReset) {
  ASSERT_EQ(runtime_nesting(), 1);
  runtime.hooks.set_color = hooked_color;
  runtime_init();
  EXPECT_EQ(runtime_nesting(), 2);
  EXPECT_EQ(runtime.hooks.set_color, hooked_color) << "a nested init must not zero the record";
  runtime_exit();
  EXPECT_EQ(runtime_nesting(), 1);
}

TEST_F(RuntimeTest, ErrorNumbersAreStoredAndReturned) {
  EXPECT_EQ(set_error(4), 4);
  EXPECT_EQ(get_error(), 4);
  EXPECT_EQ(set_error(0), 0);
  EXPECT_EQ(get_error(), 0);
}

TEST_F(RuntimeTest, ContextSlotsAreZeroFilledOnceAndBoundsChecked) {
  auto* a = static_cast<int32_t*>(context_get(2, 64));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a[15], 0);
  a[0] = 42;
  EXPECT_EQ(context_get(2, 64), a);
  EXPECT_EQ(context_get(-1, 4), nullptr);
  EXPECT_EQ(context_get(CONTEXT_SLOT_COUNT, 4), nullptr);
  EXPECT_EQ(context_get(3, 0), nullptr);
}

TEST_F(RuntimeTest, WrappersPreferAFilledHook) {
  EXPECT_EQ(set_color(3, 1, 0), 7) << "console default returns the old foreground 7";
  runtime.hooks.set_color = hooked_color;
  EXPECT_EQ(set_color(3, 1, 2), 3012);
}

TEST_F(RuntimeTest, WidthQueryLeavesTheTextWindowAlone) {
  view_print(5, 10, 0);
  EXPECT_EQ(set_width(0, 0), 80 + 65536 * 25);
  int32_t top = 0, bottom = 0;
  view_bounds(&top, &bottom);
  EXPECT_EQ(top, 5);
  EXPECT_EQ(bottom, 10);
  EXPECT_EQ(set_width(80, 0), 0);
  view_bounds(&top, &bottom);
  EXPECT_EQ(top, 1);
  EXPECT_EQ(bottom, 25);
  EXPECT_EQ(runtime.console_channel.line_width, 80);
}

TEST_F(RuntimeTest, LocateValidatesAgainstTheTextWindow) {
  view_print(5, 10, 0);
  EXPECT_EQ(locate(0, 0, -1), 0);
  int32_t result = 0;
  EXPECT_EQ(locate(7, 3, -1, &result), 0);
  EXPECT_EQ(get_column(), 3);
  EXPECT_EQ(runtime.console_channel.output_column, 2);
  EXPECT_EQ(locate(4, 1, -1), 1) << "row above the text window";
  EXPECT_EQ(get_error(), 1);
  EXPECT_EQ(locate(11, 1, -1), 1) << "row below the text window";
  EXPECT_EQ(locate(-3, 1, -1), 1);
  EXPECT_EQ(locate(6, 81, -1), 1) << "column beyond the width";
  EXPECT_EQ(locate(6, -1, -1), 1);
  EXPECT_EQ(get_column(), 3) << "a rejected locate moves nothing";
}

TEST_F(RuntimeTest, ViewPrintRules) {
  EXPECT_EQ(view_print(-1, -1, 1), 1 + 25 * 65536);
  locate(3, 4, -1);
  EXPECT_EQ(view_print(0, 0, 1), 1 + 25 * 65536);
  int32_t column = 0, row = 0;
  get_cursor(&column, &row);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(view_print(10, 5, 1), 0) << "bottom above top";
  EXPECT_EQ(view_print(1, 26, 1), 0) << "beyond the rows";
  EXPECT_EQ(view_top(), 0);
  EXPECT_EQ(view_bottom(), 24);
}

TEST_F(RuntimeTest, UnsetBoundsComeFromTheReportedSize) {
  view_store(-1, -1);
  set_width(80, 43);
  view_store(-1, -1);
  EXPECT_EQ(view_bottom(), 42);
  EXPECT_EQ(view_top(), 0);
}

TEST_F(RuntimeTest, PageSetRefusesPagesAboveFourWithoutDispatching) {
  runtime.hooks.page_set = counting_page_set;
  page_set_calls = 0;
  EXPECT_EQ(page_set(5, -1), -1);
  EXPECT_EQ(page_set(0, 5), -1);
  EXPECT_EQ(page_set_calls, 0);
  EXPECT_EQ(page_set(4, 4), 1);
}

TEST_F(RuntimeTest, ConsoleMouseIsUnavailable) {
  int32_t x = 0, y = 0, wheel = 0;
  EXPECT_EQ(get_mouse(&x, &y, &wheel, nullptr, nullptr), 1);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(wheel, -1);
  EXPECT_EQ(set_mouse(1, 1, 1, 1), 1);
}

TEST(RuntimeMutex, NullIsIgnoredAndALockCanBeTakenAgainAfterRelease) {
  mutex_lock(nullptr);
  mutex_unlock(nullptr);
  mutex_destroy(nullptr);
  Mutex* m = mutex_create();
  ASSERT_NE(m, nullptr);
  mutex_lock(m);
  mutex_unlock(m);
  mutex_lock(m);
  mutex_unlock(m);
  mutex_destroy(m);
}

TEST(RuntimeCharString, BuildsFromLowBytes) {
  StringDescriptor* s = char_string(2, 0x1FF, 0x48);
  ASSERT_EQ(str_length(s), 2);
  EXPECT_EQ(static_cast<uint8_t>(s->data[0]), 0xFF);
  EXPECT_EQ(s->data[1], 'H');
  str_release_temp(s);
  EXPECT_EQ(char_string(0), &runtime.empty_string);
  EXPECT_EQ(char_string(-4), &runtime.empty_string);
}

TEST(RuntimeCpu, SimdLevelCanBeForcedDownButNotUp) {
  force_simd_level(SIMD_NONE);
  EXPECT_EQ(simd_level(), SIMD_NONE);
  force_simd_level(SIMD_AVX2);
  SimdLevel forced = simd_level();
  force_simd_level(-1);
  EXPECT_LE(forced, SIMD_AVX2);
#if defined(__x86_64__)
  EXPECT_TRUE(cpu_features() & CPU_MMX);
  EXPECT_GE(forced, SIMD_SSE2);
#endif
}

namespace {
std::vector<int32_t> slept;
void record_sleep(int32_t ms) { slept.push_back(ms); }
}  // namespace

TEST(RuntimeConsoleSleep, LongPausesGoInFiftyMillisecondSteps) {
  set_sleep_function(record_sleep);
  slept.clear();
  console_sleep(99);
  EXPECT_EQ(slept, (std::vector<int32_t>{99}));
  slept.clear();
  console_sleep(120);
  EXPECT_EQ(slept, (std::vector<int32_t>{50, 50, 20}));
  slept.clear();
  console_sleep(-2);
  console_sleep(0);
  EXPECT_TRUE(slept.empty());
  set_sleep_function(nullptr);
}
