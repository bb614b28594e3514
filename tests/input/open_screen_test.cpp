// The input operations reached through the public wrappers while a real screen is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/core/screen.h"
#include "input/keys.h"
#include "runtime/random_timer.h"
#include "runtime/runtime.h"
#include "support/fake_driver.h"

using namespace zv;

namespace {

std::vector<int32_t> pauses;
void recording_pause(int32_t milliseconds) { pauses.push_back(milliseconds); }

class OpenScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    test::install_fake_drivers(1);
    key_ring = KeyRing{};
    pauses.clear();
    set_sleep_function(recording_pause);
    ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
    ASSERT_NE(current_screen, nullptr);
  }
  void TearDown() override {
    screen_exit_handler();
    test::restore_driver_list();
    set_sleep_function(nullptr);
    key_ring = KeyRing{};
  }
};

std::string wrapper_key_string() {
  StringDescriptor* s = key_string();
  std::string bytes(s->data ? s->data : "", str_length(s));
  str_release_temp(s);
  return bytes;
}

}  // namespace

TEST_F(OpenScreenTest, WrappersReachTheKeyRingAndTheGraphicsSleep) {
  const int32_t locks_before = test::fake_state(0).locks;
  post_key(KEY_CLOSE);
  EXPECT_EQ(key_pending(), 1);
  sleep(1000);
  EXPECT_TRUE(pauses.empty()) << "the fresh key ends the sleep at once";
  EXPECT_EQ(wrapper_key_string(), std::string("\xFF" "k"));
  EXPECT_EQ(key_pending(), 0);

  current_screen->key_state[56] = 1;
  EXPECT_EQ(runtime.hooks.key_held(56), -1);

  int32_t x = 0, y = 0;
  test::fake_driver(0)->query_mouse = nullptr;
  EXPECT_EQ(get_mouse(&x, &y, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(x, -1);
  EXPECT_GT(test::fake_state(0).locks, locks_before) << "ring reads went through the driver's lock";
  EXPECT_EQ(test::fake_state(0).locks, test::fake_state(0).unlocks);
}

TEST_F(OpenScreenTest, ClosedScreenHandsKeysBackToTheConsole) {
  post_key('z');
  screen_exit_handler();
  ASSERT_EQ(current_screen, nullptr);
  EXPECT_EQ(runtime.hooks.key_string, nullptr);
  EXPECT_EQ(key_ring.codes[0], 'z') << "the ring outlives the screen";
}
