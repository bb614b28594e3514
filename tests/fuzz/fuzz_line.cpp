// LINE and boxes at the extremes: NaN, infinities, +-3e38, +-2^31 and any bit pattern as
// coordinates, every box mode, any style, relative steps and views, on screens of every
// depth and into images.
#include <cstdint>

#include "fuzz_input.h"
#include "gfx/core/draw_context.h"
#include "gfx/draw/line.h"
#include "gfx/draw/view.h"
#include "gfx/image/image.h"
#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  fuzz::Input in{data, size};
  fuzz::open_screen(in);
  constexpr int32_t depths[] = {8, 16, 32, 0};
  zv::ImageBuffer* image = zv::image_create(in.small(-2, 90), in.small(-2, 70), in.colour(), depths[in.next(4)], -1);
  for (int calls = in.small(1, 10); calls > 0 && in.size; --calls) {
    if (in.next(5) == 0) {
      zv::view_set(in.small(-40, 1100), in.small(-40, 800), in.small(-40, 1100), in.small(-40, 800), in.colour(),
                   in.colour(), static_cast<int32_t>(in.next(0)));
      continue;
    }
    if (zv::DrawContext* context = zv::get_draw_context(); context && in.next(4) == 0) {
      context->last_x = in.coordinate();
      context->last_y = in.coordinate();
    }
    zv::ImageBuffer* target = in.next(3) == 0 ? image : nullptr;
    int32_t flags = static_cast<int32_t>(in.next(8));
    if (in.next(3) == 0) flags |= zv::LINE_USE_FOREGROUND;
    uint32_t style = in.next(2) ? zv::LINE_STYLE_SOLID : in.next(0);
    zv::draw_line(target, in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate(), in.colour(),
                  in.small(-1, 3), style, flags);
  }
  zv::image_destroy(image);
  return 0;
}
