// Sleep that wakes on a key: the graphics screen's, and the step rule the console's
// sleep shares.
#include "input/input_hooks.h"
#include "input/keys.h"
#include "runtime/random_timer.h"

namespace zv {

namespace {

constexpr int32_t KEY_CHECK_STEP_MS = 50;
// Pauses up to this long are never cut short, so short frame delays stay even.
constexpr int32_t UNINTERRUPTED_MAX_MS = 99;

bool graphics_key_arrived() { return take_key_arrived() != 0; }

}  // namespace

void sleep_until_key(int32_t milliseconds, bool (*key_arrived)()) {
  if (milliseconds == -1) {
    while (!key_arrived()) runtime_sleep_ms(KEY_CHECK_STEP_MS);
    return;
  }
  if (milliseconds > UNINTERRUPTED_MAX_MS) {
    while (milliseconds > KEY_CHECK_STEP_MS) {
      if (key_arrived()) return;
      runtime_sleep_ms(KEY_CHECK_STEP_MS);
      milliseconds -= KEY_CHECK_STEP_MS;
    }
  }
  if (milliseconds > 0) runtime_sleep_ms(milliseconds);
}

void gfx_sleep(int32_t milliseconds) { sleep_until_key(milliseconds, graphics_key_arrived); }

}  // namespace zv
