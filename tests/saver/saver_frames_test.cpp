// What the saver draws, against pages built from the independent model.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "saver_capture.h"

namespace morv::test {

namespace {

void expect_page(const Page& actual, const ModelFrame& model, const Tower& tower, int32_t frame, double seed) {
  int32_t fx = 0, fy = 0;
  const int64_t wrong = count_differences(actual, expected_page(model, tower), &fx, &fy);
  EXPECT_EQ(wrong, 0) << "seed " << seed << " frame " << frame << ": first wrong pixel at (" << fx << ", " << fy
                      << "), tower at (" << model.x << ", " << model.y << ") and (" << model.put_x2 << ", "
                      << model.put_y2 << "), row " << model.row;
}

void expect_first_frame(double seed) {
  const Capture run = capture_run(seed, 1);
  ASSERT_EQ(run.frames.size(), 1u);
  ASSERT_EQ(run.tower.width, TOWER_WIDTH);
  ASSERT_EQ(run.tower.height, TOWER_HEIGHT);
  const ModelFrame model = model_frames(seed, 1)[0];
  expect_page(run.frames[0].page, model, run.tower, 1, seed);
}

}  // namespace

TEST(SaverFrames, TowerIsDrawnIntoTheImage) {
  const Capture run = capture_run(5, 1);
  const auto lit = std::count_if(run.tower.pixels.begin(), run.tower.pixels.end(), [](uint32_t p) { return p != 0; });
  EXPECT_GT(lit, 300) << "the DRAW commands should leave an outline of several hundred pixels";
  EXPECT_LT(lit, TOWER_WIDTH * TOWER_HEIGHT / 2);
}

TEST(SaverFrames, FirstFrameIsTwoXorTowersAndTheCreditLine) {
  for (double seed : {12345.0, 1.0, 4000000000.0, -7.0}) expect_first_frame(seed);
}

TEST(SaverFrames, CreditOnTheBottomRowScrollsThePageUp) {
  const double seed = find_seed([](SaverModel& m) { return m.next().row == 25; });
  ASSERT_GE(seed, 0);
  expect_first_frame(seed);
}

TEST(SaverFrames, PeriodOneChangesRowAndColourInTheFirstFrame) {
  const double seed = find_seed([](SaverModel& m) { return m.setup_period() == 1 && m.next().row != m.setup_row(); });
  ASSERT_GE(seed, 0);
  const ModelFrame model = model_frames(seed, 1)[0];
  const Capture run = capture_run(seed, 1);
  ASSERT_EQ(run.frames.size(), 1u);
  EXPECT_EQ(run.frames[0].state.counter, 0);
  EXPECT_EQ(model.text_colour, model.colour) << "the frame's new colour is the text's";
  expect_page(run.frames[0].page, model, run.tower, 1, seed);
}

// Every frame of a long run: the state follows the model and the page matches it, the
// bouncing copy keeps its parity's limits, the second copy stands where the first stood.
TEST(SaverFrames, LongRunFollowsTheModel) {
  const double seed = find_seed([](SaverModel& m) { return m.next().x % 2 == 1; }, 31);
  ASSERT_GE(seed, 0);
  constexpr int32_t FRAMES = 1200;
  const std::vector<ModelFrame> model = model_frames(seed, FRAMES);
  Tower tower;
  int32_t min_x = INT32_MAX, max_x = INT32_MIN, min_y = INT32_MAX, max_y = INT32_MIN;
  int32_t previous_x = 0, previous_y = 0;
  bool wrapped_text_checked = false;
  int64_t wrong_frames = 0;
  const Capture run = capture_run(
      seed, FRAMES, [](int32_t) { return false; },
      [&](const HarnessFrame& frame) {
        const SaverState& s = *frame.state;
        const ModelFrame& m = model[frame.number - 1];
        if (frame.number == 1) {
          tower = read_tower(s.image);
        } else {
          EXPECT_EQ(m.put_x2, previous_y) << "frame " << frame.number;
          EXPECT_EQ(m.put_y2, previous_x) << "frame " << frame.number;
          min_x = std::min(min_x, s.x), max_x = std::max(max_x, s.x);
          min_y = std::min(min_y, s.y), max_y = std::max(max_y, s.y);
        }
        EXPECT_EQ(s.x, m.x) << "frame " << frame.number;
        EXPECT_EQ(s.y, m.y) << "frame " << frame.number;
        EXPECT_EQ(s.x2, m.y) << "frame " << frame.number;
        EXPECT_EQ(s.y2, m.x) << "frame " << frame.number;
        EXPECT_EQ(s.colour, m.colour) << "frame " << frame.number;
        EXPECT_EQ(s.row, m.row) << "frame " << frame.number;
        EXPECT_EQ(s.period, m.period) << "frame " << frame.number;
        EXPECT_EQ(s.counter, m.counter) << "frame " << frame.number;
        previous_x = s.x;
        previous_y = s.y;
        int32_t fx = 0, fy = 0;
        if (count_differences(read_page(frame.pixels, frame.pitch), expected_page(m, tower), &fx, &fy) != 0 &&
            wrong_frames++ < 3)
          ADD_FAILURE() << "frame " << frame.number << " differs first at (" << fx << ", " << fy << ")";
        if (m.text_colour < 0) wrapped_text_checked = true;
      });
  EXPECT_EQ(run.result.frames, FRAMES);
  EXPECT_EQ(wrong_frames, 0);
  EXPECT_EQ(min_x, -1) << "an odd start turns at -1";
  EXPECT_EQ(max_x, 589) << "an odd start turns at 589";
  EXPECT_EQ(min_y, 0);
  EXPECT_EQ(max_y, 333);
  EXPECT_TRUE(wrapped_text_checked) << "the run should reach a text colour past the sign bit";
}

TEST(SaverFrames, EvenStartTurnsAtZeroAnd588) {
  const double seed = find_seed([](SaverModel& m) { return m.next().x % 2 == 0; }, 31);
  ASSERT_GE(seed, 0);
  int32_t min_x = INT32_MAX, max_x = INT32_MIN;
  const Capture run = capture_run(
      seed, 800, [](int32_t) { return false; },
      [&](const HarnessFrame& frame) {
        min_x = std::min(min_x, frame.state->x);
        max_x = std::max(max_x, frame.state->x);
      });
  EXPECT_EQ(min_x, 0);
  EXPECT_EQ(max_x, 588);
}

}  // namespace morv::test
