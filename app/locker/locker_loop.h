// The animation as a screen locker runs it: the saver's own set-up and frames, but no
// key or pointer movement ends it, since the locker owns the keyboard and the pointer.
#pragma once

namespace morv {

enum class LockerEnd {
  STOPPED,        // stop_requested said so
  WINDOW_CLOSED,  // the window closed (a locker destroying its window)
  NO_SCREEN,      // the screen could not be opened; nothing was drawn
};

// Runs frames until stop_requested returns true (asked after every frame) or the
// screen's window closes. The screen stays open, as after run_screensaver.
LockerEnd run_locker_saver(bool (*stop_requested)());

}  // namespace morv
