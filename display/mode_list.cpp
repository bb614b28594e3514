#include "display/mode_list.h"

#include <cstdlib>

#include "platform/memory.h"

namespace zv {

uint32_t* collect_modes(int32_t depth, int32_t* count, ModeEnumerator enumerate, ModeRule accepts) {
  uint32_t* modes = nullptr;
  int32_t n = 0;
  DisplayModeEntry mode{};
  for (int32_t i = 0; enumerate && enumerate(i, &mode); ++i) {
    if (!accepts(depth, mode.bits_per_pixel)) continue;
    auto* grown = static_cast<uint32_t*>(platform::mem_realloc(modes, sizeof(uint32_t) * static_cast<size_t>(n + 1)));
    if (!grown) break;
    modes = grown;
    modes[n++] = (mode.width << 16) | (mode.height & 0xFFFF);
  }
  if (count) *count = n;
  return modes;
}

}  // namespace zv
