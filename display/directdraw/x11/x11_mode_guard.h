// Brings the desktop's display mode back on every way out of a program that switched it:
// the driver's close, and the signals that end a process (SIGINT, SIGTERM, SIGHUP, and
// the crash signals, after which the signal goes on to whatever handled it before).
// The guard keeps an X connection of its own, idle until it restores, with the restoring
// requests written out beforehand, so a signal handler only has to write them to the
// socket and wait for the answer: no allocation, no Xlib.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "display/directdraw/x11/x11_mode_switch.h"

namespace zv {

// After a mode switch: remembers how to undo it and watches the signals. False when the
// guard's connection cannot be had (the caller then must not keep the mode).
bool x11_guard_arm(const X11ModeSwitch& modes);
// Undoes the switch through the guard's connection, once, whichever comes first of this,
// another call or a signal; then closes that connection. Not for signal handlers.
void x11_guard_restore();
// Whether a switch is being guarded.
bool x11_guard_armed();

// The protocol requests that restore `modes` (RandR major opcode `major`) into out:
// the screen size grown to hold both modes, the CRTC's old setup, the screen's old size.
// Returns the bytes written, 0 when size is too small. Native byte order, as Xlib speaks.
int32_t x11_restore_requests(uint8_t major, uint32_t root, const X11ModeSwitch& modes, uint8_t* out, int32_t size);
// How many of those requests have a reply (the CRTC setup has; screen sizes have not).
constexpr int32_t X11_RESTORE_REPLIES = 1;

}  // namespace zv
