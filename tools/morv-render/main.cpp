// morv-render: runs the real saver on a screen that lives only in memory and writes
// what the screen shows: one frame as a PNG, or frames 1 to N as an animated GIF.
#include <cstdio>
#include <string>

#include "app/saver_harness.h"
#include "image_files.h"
#include "render_options.h"
#include "runtime/runtime.h"

namespace {

// The saver's frame takes about 26 ms (25 ms locked, 1 ms between frames).
constexpr int32_t GIF_DELAY_CS = 3;

int render(const morv::render::RenderOptions& options) {
  using namespace morv;
  render::GifWriter gif;
  bool written = false;
  bool gif_open = false;
  HarnessOptions run;
  run.seed = options.seed;
  run.frames = options.frames;
  run.on_frame = [&](const HarnessFrame& frame) {
    if (!frame.pixels) return;
    if (options.gif) {
      if (frame.number == 1) gif_open = gif.open(options.output, frame.width, frame.height, GIF_DELAY_CS);
      if (gif_open) gif.add_frame(frame.pixels, frame.pitch);
    } else if (frame.number == options.frames) {
      written = render::write_png(options.output, frame.pixels, frame.width, frame.height, frame.pitch);
    }
  };
  const HarnessResult result = run_saver(run);
  if (options.gif) written = gif_open && gif.close();
  if (result.frames != options.frames) {
    std::fprintf(stderr, "morv-render: the saver ran %d frames instead of %d\n", result.frames, options.frames);
    return 1;
  }
  if (!written) {
    std::fprintf(stderr, "morv-render: cannot write %s\n", options.output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  morv::render::RenderOptions options;
  std::string error;
  if (!morv::render::parse_render_options(argc, argv, &options, &error)) {
    std::fprintf(stderr, "morv-render: %s\n%s", error.c_str(), morv::render::RENDER_USAGE);
    return 2;
  }
  zv::runtime_init();
  const int code = render(options);
  zv::runtime_exit();
  return code;
}
