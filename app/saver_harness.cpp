#include "app/saver_harness.h"

#include <memory>

#include "display/driver.h"
#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/screen.h"
#include "gfx/image/image.h"
#include "input/keys.h"
#include "runtime/random_timer.h"

namespace morv {

namespace {

constexpr int32_t STOP_KEY = 27;  // Esc

struct Harness {
  HarnessOptions options;
  HarnessResult result;
  int32_t mouse_x = 0;
  int32_t mouse_y = 0;
  bool setup_seen = false;
  const zv::ImageBuffer* image = nullptr;
};

std::unique_ptr<Harness> active;

// The null driver with a mouse: the screen still lives only in memory.
int32_t harness_open(const char*, int32_t, int32_t, int32_t, int32_t, int32_t) {
  return active && active->options.screen_fails ? -1 : 0;
}

int32_t harness_query_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
  if (active && active->result.frames == 0 && !active->setup_seen) {
    active->setup_seen = true;
    if (active->options.during_setup) active->options.during_setup();
  }
  *x = active ? active->mouse_x : 0;
  *y = active ? active->mouse_y : 0;
  *wheel = 0;
  *buttons = 0;
  *clip = 0;
  return 0;
}

void harness_place_mouse(int32_t x, int32_t y, int32_t visibility, int32_t) {
  if (!active) return;
  if (x >= 0) active->mouse_x = x;
  if (y >= 0) active->mouse_y = y;
  if (visibility == 0) active->result.cursor_hidden = true;
}

zv::DisplayDriver make_driver() {
  zv::DisplayDriver driver = zv::null_driver;
  driver.driver_name = "Harness";
  driver.open_display = harness_open;
  driver.query_mouse = harness_query_mouse;
  driver.place_mouse = harness_place_mouse;
  return driver;
}

const zv::DisplayDriver harness_driver = make_driver();
const zv::DisplayDriver* const harness_drivers[] = {&harness_driver, nullptr};

double fixed_timer() { return active ? active->options.seed : 0.0; }

void counting_sleep(int32_t milliseconds) {
  if (!active) return;
  const zv::GraphicsState* screen = zv::graphics_state();
  const bool locked = screen && (screen->flags & zv::GS_LOCKED);
  active->result.sleeps.push_back({milliseconds, locked});
  if (milliseconds > 0) active->result.clock_ms += milliseconds;
}

void observe_frame(const SaverState& state) {
  if (!active) return;
  const int32_t number = ++active->result.frames;
  active->image = state.image;
  HarnessFrame frame{number, &state, nullptr, 0, 0, 0};
  const zv::GraphicsState* screen = zv::graphics_state();
  const zv::DrawContext* context = zv::get_draw_context();
  if (screen && context && context->work_page >= 0 && context->work_page < screen->num_pages) {
    frame.pixels = screen->pages[context->work_page];
    frame.width = screen->width;
    frame.height = screen->height;
    frame.pitch = screen->pitch;
  }
  if (active->options.on_frame) active->options.on_frame(frame);
  if (number == active->options.frames) zv::post_key(STOP_KEY);
}

void drain_keys() {
  while (zv::get_key() != 0) {
  }
}

}  // namespace

void harness_begin(const HarnessOptions& options) {
  active = std::make_unique<Harness>();
  active->options = options;
  active->mouse_x = options.mouse_x;
  active->mouse_y = options.mouse_y;
  drain_keys();
  zv::set_display_driver_list(harness_drivers);
  zv::set_timer_function(fixed_timer);
  zv::set_sleep_function(counting_sleep);
  set_frame_observer(observe_frame);
}

HarnessResult harness_end() {
  HarnessResult result;
  if (!active) return result;
  result = std::move(active->result);
  result.screen_open = zv::graphics_state() != nullptr;
  result.image_released = active->image && zv::image_block_size(active->image) == 0;
  zv::screen_exit_handler();
  drain_keys();
  set_frame_observer(nullptr);
  zv::set_sleep_function(nullptr);
  zv::set_timer_function(nullptr);
  zv::set_display_driver_list(nullptr);
  active.reset();
  return result;
}

void harness_move_mouse(int32_t x, int32_t y) {
  if (!active) return;
  active->mouse_x = x;
  active->mouse_y = y;
}

HarnessResult run_saver(const HarnessOptions& options) {
  harness_begin(options);
  run_screensaver();
  return harness_end();
}

}  // namespace morv
