#include "app/screensaver.h"

#include "app/screensaver_math.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/screen.h"
#include "gfx/draw/draw_macro.h"
#include "gfx/image/image.h"
#include "gfx/image/put.h"
#include "runtime/random_timer.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace morv {

namespace {

constexpr float RND_DRAW = 1.0f;
constexpr int32_t START_COLOUR = 0xFF000;
constexpr int32_t TOP_ROW_LIMIT = 25;
constexpr int32_t PERIOD_LIMIT = 300;
// The screen is 640 x 400; with the tower's 53 x 66 these keep it on screen.
constexpr int32_t X_LOW = 1, X_HIGH = 587;
constexpr int32_t Y_LOW = 1, Y_HIGH = 332;
constexpr int32_t SETUP_PAUSE_MS = 50;
constexpr int32_t FRAME_DELAY_MS = 25;
constexpr int32_t BETWEEN_FRAMES_MS = 1;
constexpr int32_t PRINT_LINE_END = 1;
constexpr int32_t SET_FOREGROUND_ONLY = 2;

FrameObserver frame_observer = nullptr;

int32_t random_upto(double n) { return random_integer(zv::rnd(RND_DRAW), n); }

void print_credit(const char* text) { zv::print_string(0, zv::str_temp_wrap_cstr(text), PRINT_LINE_END); }

void put_tower(const SaverState& state, int32_t x, int32_t y) {
  zv::put_image(nullptr, static_cast<float>(x), static_cast<float>(y), state.image, zv::NOT_GIVEN, zv::NOT_GIVEN,
                zv::NOT_GIVEN, zv::NOT_GIVEN, 0, zv::PUT_MODE_XOR, zv::put_xor_dispatch, -1, nullptr, 0);
}

}  // namespace

void set_frame_observer(FrameObserver observer) { frame_observer = observer; }

bool saver_setup(SaverState* state) {
  *state = SaverState{};
  zv::screen_set_mode(17, 32, 0, zv::SCREEN_FULLSCREEN | zv::SCREEN_NO_SWITCH, 0);
  // Without a screen nothing could ever end the loop: the console reports neither keys
  // nor a mouse, so the saver would print its credit line for ever.
  if (!zv::graphics_state()) return false;
  zv::set_mouse(-1, -1, 0, -1);  // hide the cursor, leave the rest
  zv::sleep(SETUP_PAUSE_MS);
  int32_t scratch[3];
  zv::get_mouse(&state->mouse_x0, &state->mouse_y0, &scratch[0], &scratch[1], &scratch[2]);
  zv::randomize(zv::timer_seconds(), 0);
  zv::str_assign(&state->picture, zv::STR_DESCRIPTOR, TOWER_MACRO, 0, 0);
  state->image = zv::image_create(TOWER_WIDTH, TOWER_HEIGHT, 0, 0, 0);
  zv::draw_macro(state->image, &state->picture);
  state->delay = FRAME_DELAY_MS;
  state->dx = 2;
  state->dy = 1;
  state->first_a = false;
  state->row = random_upto(TOP_ROW_LIMIT);
  state->period = random_upto(PERIOD_LIMIT);
  // The start colour goes through the same step as every frame's: doubled, then a small increment.
  state->colour = next_colour(START_COLOUR, zv::rnd(RND_DRAW));
  zv::set_color(state->colour, 0, SET_FOREGROUND_ONLY);
  zv::locate(state->row, CREDIT_COLUMN, -1);
  print_credit(FIRST_CREDIT);
  return true;
}

void saver_frame(SaverState* state) {
  zv::screen_lock();
  bounce(&state->x, &state->dx, X_LOW, X_HIGH);
  bounce(&state->y, &state->dy, Y_LOW, Y_HIGH);
  zv::clear_screen(zv::NOT_GIVEN);
  if (!state->first_a) {
    // The first frame places the copy at random, replacing the step above.
    state->x = random_upto(200.0);
    state->y = random_upto(200.0);
    state->first_a = true;
  }
  put_tower(*state, state->x, state->y);
  if (!state->first_b) {
    state->y2 = random_upto(300.0);
    state->x2 = random_upto(100.0);
    state->first_b = true;
  }
  put_tower(*state, state->x2, state->y2);
  // The second copy follows the first one's place, mirrored.
  state->x2 = state->y;
  state->y2 = state->x;
  // The text takes the new colour only at the next change of row.
  state->colour = next_colour(state->colour, zv::rnd(RND_DRAW));
  if (++state->counter == state->period) {
    state->row = random_upto(TOP_ROW_LIMIT);
    zv::set_color(state->colour, 0, SET_FOREGROUND_ONLY);
    state->counter = 0;
    state->period = random_upto(PERIOD_LIMIT);
  }
  zv::locate(state->row, CREDIT_COLUMN, -1);
  print_credit(CREDIT);
  // Sleeping inside the lock keeps the display from showing a half-drawn frame.
  zv::sleep(state->delay);
  if (frame_observer) frame_observer(*state);
  zv::screen_unlock(-1, -1);
}

bool saver_user_returned(const SaverState* state) {
  int32_t mouse_x = 0, mouse_y = 0;
  int32_t scratch[3];
  zv::get_mouse(&mouse_x, &mouse_y, &scratch[0], &scratch[1], &scratch[2]);
  // A key is taken every frame, whatever the mouse shows.
  const bool key = zv::str_compare(zv::key_string(), zv::STR_DESCRIPTOR, "", 0) != 0;
  return mouse_x != state->mouse_x0 || mouse_y != state->mouse_y0 || key;
}

void run_screensaver() {
  SaverState state;
  if (!saver_setup(&state)) return;
  for (;;) {
    saver_frame(&state);
    if (saver_user_returned(&state)) break;
    zv::sleep(BETWEEN_FRAMES_MS);
  }
  zv::image_destroy(state.image);
  zv::str_free(&state.picture);
  // The screen stays open; the program's exit closes it.
}

}  // namespace morv
