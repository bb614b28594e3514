// The command line of the saver that screen lockers (XScreenSaver, xsecurelock) run:
// which window to draw into. The locker usually says so in $XSCREENSAVER_WINDOW.
#pragma once

#include <string>

namespace morv {

enum class LockerTarget {
  OWN_WINDOW,  // a window of our own (-window, or nothing said)
  WINDOW_ID,   // a window someone else made: -window-id N or $XSCREENSAVER_WINDOW
  ROOT,        // the root window (-root without $XSCREENSAVER_WINDOW)
};

struct LockerOptions {
  LockerTarget target = LockerTarget::OWN_WINDOW;
  unsigned long window = 0;  // for WINDOW_ID
  bool from_environment = false;  // the id came from $XSCREENSAVER_WINDOW
  bool help = false;
};

// "0x1a00005" or "27262981", as lockers write window ids; false for anything else and for 0.
bool parse_window_id(const char* text, unsigned long* window);

// Reads argv (options with one dash or two) and the value of $XSCREENSAVER_WINDOW (null
// or empty when unset). -window-id N and -window win over the variable; the variable
// wins over -root, as it names the locker's window on the root. False, with the reason
// in *error, for an unknown option or a bad id.
bool parse_locker_options(int argc, const char* const* argv, const char* environment_window, LockerOptions* options,
                          std::string* error);

extern const char LOCKER_USAGE[];

}  // namespace morv
