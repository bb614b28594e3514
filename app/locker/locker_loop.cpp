#include "app/locker/locker_loop.h"

#include "app/screensaver.h"
#include "display/host/window_host.h"
#include "gfx/image/image.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace morv {

namespace {

constexpr int32_t BETWEEN_FRAMES_MS = 1;

// Takes every waiting event; true when one of them is the window's close.
bool window_closed() {
  bool closed = false;
  zv::InputEvent event{};
  while (zv::read_event(&event)) closed |= event.kind == zv::EV_CLOSE;
  return closed;
}

}  // namespace

LockerEnd run_locker_saver(bool (*stop_requested)()) {
  SaverState state;
  if (!saver_setup(&state)) return LockerEnd::NO_SCREEN;
  LockerEnd end = LockerEnd::STOPPED;
  for (;;) {
    saver_frame(&state);
    if (stop_requested && stop_requested()) break;
    if (window_closed()) {
      end = LockerEnd::WINDOW_CLOSED;
      break;
    }
    zv::sleep(BETWEEN_FRAMES_MS);
  }
  zv::image_destroy(state.image);
  zv::str_free(&state.picture);
  return end;
}

}  // namespace morv
