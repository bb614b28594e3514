// When the saver ends, what it leaves behind, and the pauses it takes.
#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/saver_harness.h"
#include "gfx/core/graphics_state.h"
#include "input/keys.h"
#include "runtime/runtime.h"

namespace morv::test {

TEST(SaverExit, KeyPressedDuringSetUpEndsAfterTheFirstFrame) {
  HarnessOptions options;
  options.frames = 0;
  options.during_setup = [] { zv::post_key('a'); };
  const HarnessResult result = run_saver(options);
  EXPECT_EQ(result.frames, 1);
}

TEST(SaverExit, ExtendedKeyEndsItToo) {
  HarnessOptions options;
  options.frames = 0;
  options.on_frame = [](const HarnessFrame& frame) {
    if (frame.number == 4) zv::post_key(0x48FF);  // cursor up
  };
  EXPECT_EQ(run_saver(options).frames, 4);
}

TEST(SaverExit, MouseMovedSinceSetUpEndsAtTheFirstTest) {
  for (int32_t axis = 0; axis < 2; ++axis) {
    HarnessOptions options;
    options.frames = 0;
    options.on_frame = [axis](const HarnessFrame& frame) {
      if (frame.number == 1) harness_move_mouse(axis == 0 ? 321 : 320, axis == 1 ? 199 : 200);
    };
    EXPECT_EQ(run_saver(options).frames, 1) << (axis == 0 ? "x" : "y") << " moved";
  }
}

TEST(SaverExit, MousePlacedBeforeTheStartIsReadCountsAsTheStart) {
  HarnessOptions options;
  options.frames = 5;
  options.during_setup = [] { harness_move_mouse(17, 23); };
  EXPECT_EQ(run_saver(options).frames, 5);
}

TEST(SaverExit, QuietUserKeepsItRunningAndTheEndLeavesTheScreenOpen) {
  HarnessOptions options;
  options.frames = 60;
  bool tower_alive = false;
  options.on_frame = [&](const HarnessFrame& frame) {
    if (frame.number == 60) tower_alive = frame.state->image != nullptr;
  };
  const HarnessResult result = run_saver(options);
  EXPECT_EQ(result.frames, 60);
  EXPECT_TRUE(tower_alive);
  EXPECT_TRUE(result.image_released) << "the tower image is destroyed before returning";
  EXPECT_TRUE(result.screen_open) << "the screen stays open for the program's exit";
  EXPECT_TRUE(result.cursor_hidden);
  EXPECT_EQ(zv::graphics_state(), nullptr) << "the harness closes it afterwards";
}

TEST(SaverExit, NoScreenMeansNoEndlessLoop) {
  HarnessOptions options;
  options.frames = 0;
  options.screen_fails = true;
  const HarnessResult result = run_saver(options);
  EXPECT_EQ(result.frames, 0);
  EXPECT_FALSE(result.screen_open);
  EXPECT_TRUE(result.sleeps.empty());
}

TEST(SaverExit, PausesSetUpThenLockedFrameThenBetweenFrames) {
  HarnessOptions options;
  options.frames = 3;
  const HarnessResult result = run_saver(options);
  ASSERT_EQ(result.sleeps.size(), 6u);
  const HarnessSleep expected[] = {{50, false}, {25, true}, {1, false}, {25, true}, {1, false}, {25, true}};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(result.sleeps[i].milliseconds, expected[i].milliseconds) << "pause " << i;
    EXPECT_EQ(result.sleeps[i].locked, expected[i].locked) << "pause " << i;
  }
  EXPECT_EQ(result.clock_ms, 50 + 3 * 25 + 2);
}

TEST(SaverExit, ScreensaverSwitchRunsItAndExitsWithZero) {
  char program[] = "morv.scr";
  char option[] = "/s";
  char* argv[] = {program, option, nullptr};
  const int32_t saved_count = zv::runtime.arg_count;
  char** saved_vector = zv::runtime.arg_vector;
  HarnessOptions options;
  options.frames = 7;
  harness_begin(options);
  const int32_t code = morv_main(2, argv);
  const HarnessResult result = harness_end();
  zv::set_args(saved_count, saved_vector, 0);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(result.frames, 7);
  EXPECT_TRUE(result.screen_open);
}

}  // namespace morv::test
