#include "saver_capture.h"

#include <cstring>

#include "gfx/image/image.h"

namespace morv::test {

Tower read_tower(const zv::ImageBuffer* image) {
  Tower tower;
  zv::ImageGeometry g{};
  if (!zv::image_geometry(image, 4, &g) || g.bytes_per_pixel != 4) return tower;
  tower.width = g.width;
  tower.height = g.height;
  tower.pixels.resize(static_cast<size_t>(g.width) * g.height);
  for (int32_t y = 0; y < g.height; ++y)
    std::memcpy(&tower.pixels[static_cast<size_t>(y) * g.width], g.pixels + static_cast<ptrdiff_t>(y) * g.pitch,
                sizeof(uint32_t) * g.width);
  return tower;
}

Capture capture_run(double seed, int32_t frames, std::function<bool(int32_t)> keep,
                    std::function<void(const HarnessFrame&)> check) {
  Capture capture;
  HarnessOptions options;
  options.seed = seed;
  options.frames = frames;
  options.on_frame = [&](const HarnessFrame& frame) {
    if (frame.number == 1) capture.tower = read_tower(frame.state->image);
    if (frame.pixels && (!keep || keep(frame.number)))
      capture.frames.push_back({*frame.state, read_page(frame.pixels, frame.pitch)});
    if (check) check(frame);
  };
  capture.result = run_saver(options);
  return capture;
}

std::vector<ModelFrame> model_frames(double seed, int32_t frames) {
  SaverModel model(seed);
  std::vector<ModelFrame> result;
  for (int32_t i = 0; i < frames; ++i) result.push_back(model.next());
  return result;
}

double find_seed(std::function<bool(SaverModel&)> wanted, double from) {
  for (double seed = from; seed < from + 200000; ++seed) {
    SaverModel model(seed);
    if (wanted(model)) return seed;
  }
  return -1;
}

}  // namespace morv::test
