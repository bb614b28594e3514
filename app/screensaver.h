// The animation: opens the graphics screen and runs until a key or the mouse.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {
struct ImageBuffer;
}

namespace morv {

// The values of one run, in the order the saver keeps them.
struct SaverState {
  int32_t x, y;    // top-left corner of the bouncing copy
  int32_t dx, dy;  // its step per frame
  int32_t x2, y2;  // top-left corner of the second copy
  int32_t colour;  // the credit text's next colour, a 0xAARRGGBB pixel
  int32_t row;     // text row of the credit line, 1-25
  int32_t period;  // frames between two changes of row and colour, 1-300
  int32_t counter;
  int32_t delay;   // milliseconds slept inside each locked frame
  int32_t mouse_x0, mouse_y0;
  bool first_a, first_b;
  zv::StringDescriptor picture;  // the tower's DRAW commands
  zv::ImageBuffer* image;
};

inline constexpr int32_t TOWER_WIDTH = 53;
inline constexpr int32_t TOWER_HEIGHT = 66;
inline constexpr char TOWER_MACRO[] =
    "BD65 BR1 R51 U8 L6 NL39 U7 NL39 H6 NL28 U24 NL28 E6 NL39 U14 L8 D8 L8 U8 L8 D8 L8 U8 L8 D14 F6 D24 G6 D7 L6 D8";
inline constexpr char FIRST_CREDIT[] = "Bildschirmschoner Version 1.0 programmiert von ORVEK!";
inline constexpr char CREDIT[] = "Bildschirmschoner Version 1.0 programmiert von Velmorin!";
inline constexpr int32_t CREDIT_COLUMN = 8;

void run_screensaver();

// The pieces run_screensaver is made of, for the harness and the frame benchmark.
// Opens the screen, draws the tower and prints the first credit line. False, having
// done nothing else, when no screen could be opened.
bool saver_setup(SaverState* state);
// One frame from screen_lock to screen_unlock, the locked pause included.
void saver_frame(SaverState* state);
// Reads the mouse and takes one key; true when either says the user is back.
bool saver_user_returned(const SaverState* state);

// Called at each frame's end, just before the screen is unlocked, with the work page
// finished. Null removes it. It only watches: the frame is the same without it.
using FrameObserver = void (*)(const SaverState& state);
void set_frame_observer(FrameObserver observer);

}  // namespace morv
