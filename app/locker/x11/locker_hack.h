// morv-hack: the saver in a screen locker's window on X.
#pragma once

#include "app/locker/locker_options.h"

namespace morv {

// Draws the saver into the window the options name until SIGTERM, SIGINT, SIGHUP or
// SIGUSR1, or until that window is destroyed. Returns the exit code: 0 then, 1 when there is no
// display, no such window, or nothing could be drawn into it (each said on stderr).
int run_locker_hack(const LockerOptions& options);

}  // namespace morv
