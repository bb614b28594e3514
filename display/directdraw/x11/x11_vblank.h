// The vertical blank on X: the Present extension tells when the window's CRTC counter
// (MSC) next moves on. It runs on a connection of its own, for the program's thread.
#pragma once

#include <cstdint>

namespace zv {

// Waits for the beginning of the next vertical blank of `window`, at most timeout_ms.
// False when the server cannot say (no Present, no such window, no answer in time):
// the caller then pauses by the clock instead.
bool x11_wait_vblank(uint32_t window, int32_t timeout_ms);
// Closes the waiting connection (a later wait opens another).
void x11_vblank_close();

}  // namespace zv
