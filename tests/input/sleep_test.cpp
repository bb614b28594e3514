#include <vector>

#include "input_fixture.h"

using namespace zv;
using input_test::InputTest;

namespace {

// Records the pauses asked for and posts a key during pause number post_on_call (1-based).
std::vector<int32_t> pauses;
int32_t post_on_call = 0;
int32_t give_up_after = 1000;

void recording_pause(int32_t milliseconds) {
  pauses.push_back(milliseconds);
  if (static_cast<int32_t>(pauses.size()) == post_on_call) post_key('k');
  // A broken wake-up must fail the test rather than spin for ever.
  if (static_cast<int32_t>(pauses.size()) >= give_up_after) post_key(KEY_CLOSE);
}

class SleepTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    pauses.clear();
    post_on_call = 0;
    give_up_after = 1000;
    set_sleep_function(recording_pause);
  }
};

using Pauses = std::vector<int32_t>;

}  // namespace

TEST_F(SleepTest, ShortPausesAreNeverCutShort) {
  post_key('a');
  gfx_sleep(80);
  EXPECT_EQ(pauses, Pauses{80});
  pauses.clear();
  gfx_sleep(99);
  EXPECT_EQ(pauses, Pauses{99});
  EXPECT_EQ(take_key_arrived(), 1) << "the short sleeps did not take the arrival";
}

TEST_F(SleepTest, LongPauseStepsFiftyAndSleepsTheRest) {
  gfx_sleep(1000);
  EXPECT_EQ(pauses, Pauses(20, 50)) << "19 steps and a remainder of 50";
  pauses.clear();
  gfx_sleep(120);
  EXPECT_EQ(pauses, (Pauses{50, 50, 20}));
  pauses.clear();
  gfx_sleep(100);
  EXPECT_EQ(pauses, (Pauses{50, 50}));
}

TEST_F(SleepTest, KeyWakesLongPauseAtTheNextStep) {
  post_on_call = 3;
  gfx_sleep(1000);
  EXPECT_EQ(pauses, (Pauses{50, 50, 50}));
  EXPECT_EQ(get_key(), 'k') << "the key is not consumed";
}

TEST_F(SleepTest, KeyAlreadyTakenDoesNotWake) {
  post_key('a');
  gfx_sleep(120);
  EXPECT_TRUE(pauses.empty()) << "a fresh arrival ends it at once";
  EXPECT_EQ(take_key_arrived(), 0);
  gfx_sleep(120);
  EXPECT_EQ(pauses, (Pauses{50, 50, 20})) << "the waiting key was already noticed";
}

TEST_F(SleepTest, MinusOneWaitsForAKeyCheckingFirst) {
  post_on_call = 4;
  gfx_sleep(-1);
  EXPECT_EQ(pauses, (Pauses{50, 50, 50, 50}));
  pauses.clear();
  post_key('b');
  gfx_sleep(-1);
  EXPECT_TRUE(pauses.empty());
}

TEST_F(SleepTest, ZeroAndOtherNegativesReturnAtOnce) {
  for (int32_t n : {0, -2, -50, INT32_MIN}) gfx_sleep(n);
  EXPECT_TRUE(pauses.empty());
  gfx_sleep(INT32_MAX - 10);
  EXPECT_EQ(pauses.size(), 1000u) << "huge pauses step until the guard's key";
}

TEST_F(SleepTest, WaitKeyPollsEveryTwentyMilliseconds) {
  post_key(0x3BFF);
  EXPECT_EQ(gfx_wait_key(), 0x3BFF);
  EXPECT_EQ(pauses, Pauses{20}) << "the pause follows the successful read too";
  pauses.clear();
  post_on_call = 3;
  EXPECT_EQ(gfx_wait_key(), 'k');
  EXPECT_EQ(pauses, (Pauses{20, 20, 20, 20}));
}
