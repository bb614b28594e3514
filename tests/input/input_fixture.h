// A graphics screen that exists only as a record, with a driver that counts its calls.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "display/driver.h"
#include "gfx/core/graphics_state.h"
#include "input/input_hooks.h"
#include "input/keys.h"
#include "runtime/random_timer.h"
#include "runtime/runtime.h"

namespace input_test {

struct FakeDriverState {
  int32_t locks = 0;
  int32_t unlocks = 0;
  int32_t depth = 0;  // locks taken and not yet released
  int32_t mouse_result = 0;
  int32_t mouse[5] = {};
  int32_t placed[4] = {};
  int32_t place_calls = 0;
  int32_t depth_during_call = 0;
};

inline FakeDriverState fake;

inline void fake_lock() {
  ++fake.locks;
  ++fake.depth;
}
inline void fake_unlock() {
  ++fake.unlocks;
  --fake.depth;
}
inline int32_t fake_query_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  fake.depth_during_call = fake.depth;
  int32_t* out[5] = {x, y, wheel, buttons, clip};
  for (int i = 0; i < 5; ++i) *out[i] = fake.mouse[i];
  return fake.mouse_result;
}
inline void fake_place_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip) {
  fake.depth_during_call = fake.depth;
  ++fake.place_calls;
  fake.placed[0] = x;
  fake.placed[1] = y;
  fake.placed[2] = visibility;
  fake.placed[3] = clip;
}

inline constexpr zv::DisplayDriver FAKE_DRIVER = {
    "Fake",           nullptr,          nullptr, fake_lock, fake_unlock, nullptr, nullptr,
    fake_query_mouse, fake_place_mouse, nullptr, nullptr,   nullptr,     nullptr, nullptr,
};

// Starts each test with an empty key ring, the fake driver's counters at zero and the
// sleep hook pointing at the graphics sleep; tests that need no screen call close_screen().
class InputTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_hooks_ = zv::runtime.hooks;
    saved_screen_ = zv::current_screen;
    fake = FakeDriverState{};
    zv::key_ring = zv::KeyRing{};
    std::memset(&screen_, 0, sizeof screen_);
    std::memset(key_state_, 0, sizeof key_state_);
    screen_.width = 640;
    screen_.height = 400;
    screen_.key_state = key_state_;
    screen_.driver = &FAKE_DRIVER;
    zv::current_screen = &screen_;
    zv::runtime.hooks.sleep = zv::gfx_sleep;
    zv::set_error(0);
  }
  void TearDown() override {
    EXPECT_EQ(fake.depth, 0) << "every lock taken must be released";
    zv::set_sleep_function(nullptr);
    zv::key_ring = zv::KeyRing{};
    zv::current_screen = saved_screen_;
    zv::runtime.hooks = saved_hooks_;
  }
  void close_screen() { zv::current_screen = nullptr; }

  zv::GraphicsState screen_{};
  uint8_t key_state_[128]{};

 private:
  zv::RuntimeHooks saved_hooks_{};
  zv::GraphicsState* saved_screen_ = nullptr;
};

}  // namespace input_test
