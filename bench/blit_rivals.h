// What a user would otherwise call to convert pixels: SDL2, pixman and libyuv, each prepared
// once on the benchmark's buffers so that a run measures only the conversion.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Rival {
  std::string library;  // "SDL2", "pixman", "libyuv"
  std::string routine;  // what it runs
  std::function<void()> run;
  std::function<void()> release;
};

// Rivals for converting a width x height page of the given depth (8, 16 or 32) to a surface
// of that type and order; empty where a library has no such conversion.
std::vector<Rival> make_rivals(int32_t depth, int32_t type, int32_t red_low, uint8_t* source, int32_t source_pitch,
                               uint8_t* destination, int32_t destination_pitch, int32_t width, int32_t height,
                               const uint32_t* palette);

}  // namespace bench
