// In full screen the picture fills one monitor; every other monitor is covered in black
// until the screen closes, so nothing of the desktop shows beside the saver.
#pragma once

#include <cstdint>

#include "display/host/window_system.h"

namespace zv {

// Most monitors a screen is covered on; further ones stay as they are.
constexpr int32_t MAX_MONITOR_COVERS = 16;

// Writes to covers the monitors to black out while the picture fills `shown`: every
// monitor of the list that is not wholly inside it (the shown monitor itself, or one
// that mirrors it), each once, empty ones left out. Returns how many were written
// (at most MAX_MONITOR_COVERS).
int32_t monitors_to_cover(const ScreenRect* monitors, int32_t count, const ScreenRect& shown,
                          ScreenRect covers[MAX_MONITOR_COVERS]);

}  // namespace zv
