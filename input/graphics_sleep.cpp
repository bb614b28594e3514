// Sleep on the graphics screen: long pauses end early when a key arrives.
#include "input/input_hooks.h"
#include "input/keys.h"
#include "runtime/random_timer.h"

namespace zv {

namespace {

constexpr int32_t KEY_CHECK_STEP_MS = 50;
// Pauses up to this long are never cut short, so short frame delays stay even.
constexpr int32_t UNINTERRUPTED_MAX_MS = 99;

}  // namespace

void gfx_sleep(int32_t milliseconds) {
  if (milliseconds == -1) {
    while (!take_key_arrived()) runtime_sleep_ms(KEY_CHECK_STEP_MS);
    return;
  }
  if (milliseconds > UNINTERRUPTED_MAX_MS) {
    while (milliseconds > KEY_CHECK_STEP_MS) {
      if (take_key_arrived()) return;
      runtime_sleep_ms(KEY_CHECK_STEP_MS);
      milliseconds -= KEY_CHECK_STEP_MS;
    }
  }
  if (milliseconds > 0) runtime_sleep_ms(milliseconds);
}

}  // namespace zv
