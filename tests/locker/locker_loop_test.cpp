// The saver as a locker runs it: the real frames on the harness's in-memory screen,
// never ended by keys or the mouse, ended by the stop request or the window's close.
#include <gtest/gtest.h>

#include "app/locker/locker_loop.h"
#include "app/saver_harness.h"
#include "display/host/window_host.h"
#include "input/keys.h"

namespace morv {
namespace {

int32_t stop_after = 0;
int32_t frames_seen = 0;

bool stop_at_count() { return frames_seen >= stop_after; }

HarnessOptions counting(int32_t frames) {
  stop_after = frames;
  frames_seen = 0;
  HarnessOptions options;
  options.frames = 0;  // the harness posts no key of its own
  options.seed = 4242;
  return options;
}

TEST(LockerLoop, KeysAndTheMouseNeverEndIt) {
  HarnessOptions options = counting(12);
  options.on_frame = [](const HarnessFrame& frame) {
    ++frames_seen;
    zv::post_key(27);
    zv::post_key(0x3BFF);
    harness_move_mouse(frame.number * 7, frame.number * 3);
  };
  harness_begin(options);
  EXPECT_EQ(run_locker_saver(stop_at_count), LockerEnd::STOPPED);
  const HarnessResult result = harness_end();
  EXPECT_EQ(result.frames, 12);
  EXPECT_TRUE(result.image_released);
  EXPECT_TRUE(result.screen_open) << "the screen stays open for the caller to close";
  EXPECT_TRUE(result.cursor_hidden);
}

TEST(LockerLoop, SameFramesAsTheSaverAndItsPauses) {
  // Frame by frame the picture equals the one the saver shows for the same seed.
  std::vector<uint64_t> saver_hashes, locker_hashes;
  auto hash_into = [](std::vector<uint64_t>* out) {
    return [out](const HarnessFrame& frame) {
      uint64_t h = 1469598103934665603ull;
      for (int32_t y = 0; y < frame.height; ++y) {
        const uint8_t* row = frame.pixels + static_cast<intptr_t>(y) * frame.pitch;
        for (int32_t i = 0; i < frame.width * 4; ++i) h = (h ^ row[i]) * 1099511628211ull;
      }
      out->push_back(h);
    };
  };
  HarnessOptions saver;
  saver.seed = 4242;
  saver.frames = 8;
  saver.on_frame = hash_into(&saver_hashes);
  run_saver(saver);

  HarnessOptions options = counting(8);
  auto hash = hash_into(&locker_hashes);
  options.on_frame = [hash](const HarnessFrame& frame) {
    ++frames_seen;
    hash(frame);
  };
  harness_begin(options);
  run_locker_saver(stop_at_count);
  const HarnessResult result = harness_end();
  EXPECT_EQ(locker_hashes, saver_hashes);
  // Set-up pause, then per frame 25 ms locked and 1 ms between frames (none after the last).
  ASSERT_GE(result.sleeps.size(), 3u);
  EXPECT_EQ(result.sleeps[0].milliseconds, 50);
  EXPECT_EQ(result.sleeps[1].milliseconds, 25);
  EXPECT_TRUE(result.sleeps[1].locked);
  EXPECT_EQ(result.sleeps[2].milliseconds, 1);
  EXPECT_FALSE(result.sleeps[2].locked);
  EXPECT_EQ(result.sleeps.size(), 1u + 8u * 2u - 1u);
}

TEST(LockerLoop, TheWindowsCloseEndsIt) {
  HarnessOptions options = counting(1000);
  options.on_frame = [](const HarnessFrame& frame) {
    ++frames_seen;
    // Other events before and after the close are taken too.
    if (frame.number == 3) {
      zv::post_event(zv::InputEvent{zv::EV_FOCUS_LOST, {}});
      zv::post_event(zv::InputEvent{zv::EV_CLOSE, {}});
      zv::post_event(zv::InputEvent{zv::EV_MOUSE_MOVE, {1, 2, 3, 4}});
    } else {
      zv::post_event(zv::InputEvent{zv::EV_KEY_DOWN, {1, 27, 0, 0}});
    }
  };
  harness_begin(options);
  EXPECT_EQ(run_locker_saver(stop_at_count), LockerEnd::WINDOW_CLOSED);
  const HarnessResult result = harness_end();
  EXPECT_EQ(result.frames, 3);
  EXPECT_TRUE(result.image_released);
}

TEST(LockerLoop, NoScreenDrawsNothingAndSaysSo) {
  HarnessOptions options = counting(5);
  options.screen_fails = true;
  harness_begin(options);
  EXPECT_EQ(run_locker_saver(stop_at_count), LockerEnd::NO_SCREEN);
  EXPECT_EQ(harness_end().frames, 0);
}

TEST(LockerLoop, WithoutAStopRequestOnlyTheCloseEndsIt) {
  HarnessOptions options = counting(0);
  options.on_frame = [](const HarnessFrame& frame) {
    if (frame.number == 20) zv::post_event(zv::InputEvent{zv::EV_CLOSE, {}});
  };
  harness_begin(options);
  EXPECT_EQ(run_locker_saver(nullptr), LockerEnd::WINDOW_CLOSED);
  EXPECT_EQ(harness_end().frames, 20);
}

}  // namespace
}  // namespace morv
