// Arbitrary bytes as DRAW command strings, on the screen and into an image, with the input
// itself registered for X so that nesting and self-calls are exercised too. The first
// byte picks the depth and the starting pen.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/core/draw_context.h"
#include "gfx/core/screen.h"
#include "gfx/draw/draw_macro.h"
#include "gfx/image/image.h"
#include "runtime/runtime.h"

namespace {

struct Screens {
  zv::ImageBuffer* images[3] = {};
  Screens() {
    zv::runtime_init();
    // One screen per depth would be reopened for every input; an image of each depth does the same job.
    zv::screen_set_resolution(96, 64, 32, 1, zv::SCREEN_NULL, 0);
    images[0] = zv::image_create(17, 13, 0, 8, 0);
    images[1] = zv::image_create(17, 13, 0, 16, 0);
    images[2] = zv::image_create(17, 13, 0, 32, 0);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Screens screens;
  if (size < 1 || size > 4096) return 0;
  const uint8_t choice = data[0];
  std::vector<char> text(data + 1, data + size);
  zv::StringDescriptor commands{text.data(), static_cast<int32_t>(text.size()), static_cast<int32_t>(text.size())};
  int32_t number = 0;
  zv::draw_macro_register(&commands, &number);

  zv::DrawContext* context = zv::get_draw_context();
  static const float pens[] = {0.0f, 5.0f, -3.0f, 40.0f, 1e30f, -1e30f, 16777216.0f, 1e9f};
  context->last_x = pens[choice & 7];
  context->last_y = pens[(choice >> 3) & 7];
  zv::ImageBuffer* target = (choice >> 6) == 3 ? nullptr : screens.images[choice >> 6];
  zv::draw_macro(target, &commands);
  // Scale and rotation carry over; put them back so inputs stay reproducible one by one.
  static char reset[] = "S4TA0";
  zv::StringDescriptor defaults{reset, 5, 5};
  zv::draw_macro(nullptr, &defaults);
  zv::draw_macro_unregister(number);
  return 0;
}
