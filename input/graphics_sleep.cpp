// Sleep on the graphics screen: long pauses end early when a key arrives.
#include "input/input_hooks.h"
#include "input/keys.h"
#include "platform/platform.h"

namespace zv {

namespace {

constexpr int32_t KEY_CHECK_STEP_MS = 50;
// Pauses up to this long are never cut short, so short frame delays stay even.
constexpr int32_t UNINTERRUPTED_MAX_MS = 99;

SleepFunction pause_function = nullptr;

void pause_ms(int32_t milliseconds) {
  if (pause_function) {
    pause_function(milliseconds);
  } else {
    platform::sleep_ms(milliseconds);
  }
}

}  // namespace

void set_graphics_sleep_function(SleepFunction function) { pause_function = function; }

void gfx_sleep(int32_t milliseconds) {
  if (milliseconds == -1) {
    while (!take_key_arrived()) pause_ms(KEY_CHECK_STEP_MS);
    return;
  }
  if (milliseconds > UNINTERRUPTED_MAX_MS) {
    while (milliseconds > KEY_CHECK_STEP_MS) {
      if (take_key_arrived()) return;
      pause_ms(KEY_CHECK_STEP_MS);
      milliseconds -= KEY_CHECK_STEP_MS;
    }
  }
  if (milliseconds > 0) pause_ms(milliseconds);
}

}  // namespace zv
