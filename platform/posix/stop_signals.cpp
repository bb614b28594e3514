#include "platform/posix/stop_signals.h"

#include <signal.h>

#include <atomic>
#include <initializer_list>

namespace zv::platform {

namespace {

// Lock-free, so the handler may store it; any thread may take the signal.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

void record(int number) { received.store(number); }

}  // namespace

void watch_stop_signals() {
  struct sigaction action {};
  action.sa_handler = record;
  sigemptyset(&action.sa_mask);
  for (int number : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaction(number, &action, nullptr);
}

int stop_signal() { return received.load(); }

}  // namespace zv::platform
