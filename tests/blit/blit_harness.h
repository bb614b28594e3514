// A screen record of the test's own for the blitters, and an independent per-pixel reference
// written from the pixel formats (it shares no code with the blitters).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "display/blit/blit.h"
#include "gfx/core/graphics_state.h"

namespace blit_test {

struct Scene {
  zv::GraphicsState gs{};
  std::vector<uint8_t> page;
  std::vector<uint8_t> dirty;
  std::vector<uint32_t> palette;
  std::vector<uint32_t> table = std::vector<uint32_t>(512);

  Scene(int32_t depth, int32_t width, int32_t height, int32_t scanline_size);
  void randomise(std::mt19937& rng);
  // Makes this the current screen (and its table the conversion table).
  void install();
};

// The vector set a test asks for: 0 plain, 1 SSE2, 2 AVX2, 3 AVX-512.
enum SetLevel : int32_t { SET_PLAIN = 0, SET_SSE2 = 1, SET_AVX2 = 2, SET_AVX512 = 3 };
const char* set_name(int32_t level);
// False when this processor cannot run that set.
bool set_available(int32_t level);
// Chooses the member of that set for the installed scene.
zv::BlitFunction choose_in_set(int32_t level, int32_t type, int32_t red_low);
zv::SpanBlitFunction choose_spans_in_set(int32_t level, int32_t type, int32_t red_low);
// Every set this processor can run, plain first; notes the others as untested.
std::vector<int32_t> available_levels();

struct Member {
  int32_t depth, type, red_low;
};
// Every pair choose_blitter serves, with depths 8, 16 and 32 standing for each source class.
std::vector<Member> all_members();

// Bytes a surface of this type needs per row for the scene.
int32_t surface_row_bytes(const Scene& scene, int32_t type);

struct Surface {
  std::vector<uint8_t> bytes;
  int32_t pitch = 0;       // may be negative
  size_t first_row = 0;    // offset of destination row 0 in bytes
  uint8_t* row0() { return bytes.data() + first_row; }
};
// A surface for every produced row with slack bytes after each, filled with a canary pattern.
Surface make_surface(const Scene& scene, int32_t type, int32_t slack, bool bottom_up, uint32_t canary_seed);

// What the blitter must leave in the surface: converted dirty rows, canary everywhere else.
std::vector<uint8_t> expected_surface(const Scene& scene, const Surface& before, int32_t type, int32_t red_low);

// Describes the first differing byte, or "" when equal.
std::string first_difference(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual,
                             const Surface& surface);

}  // namespace blit_test
