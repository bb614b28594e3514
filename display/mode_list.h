// The list_modes entry's common walk: display modes by index until the list ends,
// keeping those a driver's rule accepts for the depth asked for.
#pragma once

#include <cstdint>

namespace zv {

struct DisplayModeEntry {
  uint32_t width;
  uint32_t height;
  int32_t bits_per_pixel;
};

using ModeEnumerator = bool (*)(int32_t index, DisplayModeEntry* mode);  // false past the last mode
using ModeRule = bool (*)(int32_t depth, int32_t mode_bits);

// Modes as width << 16 | height, in the order enumerated (a size offered at several
// refresh rates appears once per rate); null when none. The caller frees the array.
// When it cannot grow, the list stops with what it has.
uint32_t* collect_modes(int32_t depth, int32_t* count, ModeEnumerator enumerate, ModeRule accepts);

}  // namespace zv
