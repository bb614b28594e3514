// morv-hack: the saver as screen lockers run it (XScreenSaver, xsecurelock): drawn into
// the window the locker hands over, until the locker ends it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/locker/locker_options.h"
#include "app/locker/x11/locker_hack.h"
#include "runtime/runtime.h"

int main(int argc, char** argv) {
  morv::LockerOptions options;
  std::string error;
  if (!morv::parse_locker_options(argc, argv, std::getenv("XSCREENSAVER_WINDOW"), &options, &error)) {
    std::fprintf(stderr, "morv-hack: %s\n%s", error.c_str(), morv::LOCKER_USAGE);
    return 1;
  }
  if (options.help) {
    std::fputs(morv::LOCKER_USAGE, stdout);
    return 0;
  }
  zv::runtime_init();
  const int code = morv::run_locker_hack(options);
  zv::runtime_exit();
  return code;
}
