// The command line of morv-render.
#pragma once

#include <cstdint>
#include <string>

namespace morv::render {

struct RenderOptions {
  double seed = 0;
  int32_t frames = 1;
  std::string output;
  bool gif = false;
};

// Frames beyond this would make a GIF of hours.
constexpr int32_t MAX_FRAMES = 100000;

// False, with the reason in *error, for anything but a well-formed command line.
bool parse_render_options(int argc, const char* const* argv, RenderOptions* options, std::string* error);

extern const char RENDER_USAGE[];

}  // namespace morv::render
