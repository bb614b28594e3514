#include "render_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace morv::render {

const char RENDER_USAGE[] =
    "usage: morv-render --seed S --frames N -o out.png\n"
    "       morv-render --seed S --frames N --gif -o out.gif\n"
    "  S  the timer reading the saver seeds its generator with (whole seconds count)\n"
    "  N  PNG: the frame whose work page is written; GIF: frames 1 to N (1 to 100000)\n";

namespace {

bool read_seed(const char* text, double* seed) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (errno != 0 || end == text || *end != '\0' || !std::isfinite(value)) return false;
  *seed = value;
  return true;
}

bool read_frames(const char* text, int32_t* frames) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || value < 1 || value > MAX_FRAMES) return false;
  *frames = static_cast<int32_t>(value);
  return true;
}

}  // namespace

bool parse_render_options(int argc, const char* const* argv, RenderOptions* options, std::string* error) {
  bool have_seed = false, have_frames = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool takes_value = !std::strcmp(arg, "--seed") || !std::strcmp(arg, "--frames") || !std::strcmp(arg, "-o");
    if (takes_value && i + 1 >= argc) {
      *error = std::string(arg) + " needs a value";
      return false;
    }
    if (!std::strcmp(arg, "--seed")) {
      if (!read_seed(argv[++i], &options->seed)) {
        *error = std::string("not a seed: ") + argv[i];
        return false;
      }
      have_seed = true;
    } else if (!std::strcmp(arg, "--frames")) {
      if (!read_frames(argv[++i], &options->frames)) {
        *error = std::string("not a frame count from 1 to 100000: ") + argv[i];
        return false;
      }
      have_frames = true;
    } else if (!std::strcmp(arg, "-o")) {
      options->output = argv[++i];
      if (options->output.empty()) {
        *error = "-o needs a file name";
        return false;
      }
    } else if (!std::strcmp(arg, "--gif")) {
      options->gif = true;
    } else {
      *error = std::string("unknown argument: ") + arg;
      return false;
    }
  }
  if (!have_seed || !have_frames || options->output.empty()) {
    *error = "--seed, --frames and -o are all needed";
    return false;
  }
  return true;
}

}  // namespace morv::render
