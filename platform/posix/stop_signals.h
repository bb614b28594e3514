// A program that someone else ends with a signal (a screen locker ending its saver).
#pragma once

namespace zv::platform {

// From now on SIGTERM, SIGINT, SIGHUP and SIGUSR1 (xsecurelock's "start again") only
// record that the program was asked to stop.
void watch_stop_signals();
// The signal that asked the program to stop; 0 while none has.
int stop_signal();

}  // namespace zv::platform
