// Runs the real saver deterministically: a fixed timer reading for the seed, a clock
// that only counts the pauses, a mouse and keys the caller controls, and a screen
// that lives only in memory. For tests, the frame renderer and the benchmark.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/screensaver.h"

namespace morv {

// The work page at one frame's unlock.
struct HarnessFrame {
  int32_t number;  // 1 for the first frame
  const SaverState* state;
  const uint8_t* pixels;  // 4 bytes per pixel, 0xAARRGGBB
  int32_t width;
  int32_t height;
  int32_t pitch;
};

struct HarnessOptions {
  double seed = 0;  // what the timer reading hands to randomize
  // A key is posted at this frame's unlock, so the saver ends after it; 0 never does.
  int32_t frames = 1;
  int32_t mouse_x = 320;
  int32_t mouse_y = 200;
  bool screen_fails = false;  // the display cannot be opened
  // Runs while the saver sets up, just before it reads the mouse's start position.
  std::function<void()> during_setup;
  // Runs at each frame's unlock, before the saver looks at the mouse and the keys.
  std::function<void(const HarnessFrame&)> on_frame;
};

struct HarnessSleep {
  int32_t milliseconds;
  bool locked;  // slept with the screen locked
};

struct HarnessResult {
  int32_t frames = 0;
  int64_t clock_ms = 0;  // the sum of all pauses
  std::vector<HarnessSleep> sleeps;
  bool cursor_hidden = false;
  bool screen_open = false;     // when the saver returned
  bool image_released = false;  // the tower image is no longer a live image
};

// Puts the seams in place. The screen opens on the harness's in-memory driver
// (unless "ZVGFX" asks for the null driver, which knows no mouse).
void harness_begin(const HarnessOptions& options);
// Collects the result, closes the screen and takes the seams out again.
HarnessResult harness_end();
// Moves the mouse the saver sees; use while a run is going on.
void harness_move_mouse(int32_t x, int32_t y);

// harness_begin, run_screensaver, harness_end.
HarnessResult run_saver(const HarnessOptions& options);

}  // namespace morv
