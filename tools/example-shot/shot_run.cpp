#include "shot_run.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image_files.h"
#include "zvgfx.h"

namespace example_shot {

namespace {

// Pauses after the last input step before the example counts as stuck.
constexpr int32_t IDLE_PAUSES = 2000;

struct Shot {
  const ShotOptions* options = nullptr;
  size_t next_step = 0;
  int32_t idle_pauses = 0;
  int64_t clock_ms = 0;
  int32_t mouse_x = 0, mouse_y = 0, buttons = 0;
  bool shown = false;
  bool written = false;
};

Shot shot;

int32_t shot_open_display(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) { return 0; }

// The display closes before any buffer goes: the last picture is taken here.
void shot_close_display() {
  zv::GraphicsState* screen = zv::graphics_state();
  if (!screen || !screen->visible_buffer || !screen->dirty || screen->width <= 0 || screen->height <= 0) return;
  const zv::BlitFunction blit = zv::choose_blitter(32, 0);
  if (!blit) return;
  const int32_t rows = screen->height * screen->scanline_size;
  const int32_t pitch = screen->width * 4;
  std::vector<uint8_t> pixels(static_cast<size_t>(pitch) * static_cast<size_t>(rows));
  std::memset(screen->dirty, 1, static_cast<size_t>(screen->height));
  blit(pixels.data(), pitch);
  shot.shown = true;
  shot.written = morv::render::write_png(shot.options->output, pixels.data(), screen->width, rows, pitch);
}

int32_t shot_query_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  *x = shot.mouse_x;
  *y = shot.mouse_y;
  *wheel = 0;
  *buttons = shot.buttons;
  *clip = 0;
  return 0;
}

void shot_place_mouse(int32_t x, int32_t y, int32_t, int32_t) {
  if (x >= 0) shot.mouse_x = x;
  if (y >= 0) shot.mouse_y = y;
}

zv::DisplayDriver make_driver() {
  zv::DisplayDriver driver = zv::null_driver;
  driver.driver_name = "Shot";
  driver.open_display = shot_open_display;
  driver.close_display = shot_close_display;
  driver.query_mouse = shot_query_mouse;
  driver.place_mouse = shot_place_mouse;
  return driver;
}

const zv::DisplayDriver shot_driver = make_driver();
const zv::DisplayDriver* const shot_drivers[] = {&shot_driver, nullptr};

double shot_timer() { return static_cast<double>(shot.clock_ms) / 1000.0; }

void shot_pause(int32_t milliseconds) {
  if (milliseconds > 0) shot.clock_ms += milliseconds;
  const std::vector<InputStep>& steps = shot.options->steps;
  if (shot.next_step >= steps.size()) {
    if (++shot.idle_pauses > IDLE_PAUSES) {
      std::fprintf(stderr, "example-shot: the example still waits for input after its script ended\n");
      std::_Exit(SHOT_STUCK);
    }
    return;
  }
  const InputStep& step = steps[shot.next_step++];
  if (step.kind == StepKind::key) {
    zv::post_key(step.key);
  } else if (step.kind == StepKind::mouse) {
    shot.mouse_x = step.x;
    shot.mouse_y = step.y;
    shot.buttons = step.buttons;
  }
}

}  // namespace

int run_shot(const ShotOptions& options, int (*example_main)()) {
  shot.options = &options;
  zv::set_display_driver_list(shot_drivers);
  zv::set_timer_function(shot_timer);
  zv::set_sleep_function(shot_pause);
  example_main();
  zv::screen_exit_handler();
  if (!shot.shown) {
    std::fprintf(stderr, "example-shot: the example showed no graphics screen\n");
    return SHOT_FAILED;
  }
  if (!shot.written) {
    std::fprintf(stderr, "example-shot: cannot write %s\n", options.output.c_str());
    return SHOT_FAILED;
  }
  return SHOT_WRITTEN;
}

}  // namespace example_shot
