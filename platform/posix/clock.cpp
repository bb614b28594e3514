// Sleeping and the two clocks.
#include <ctime>

#include "platform/platform.h"

namespace zv::platform {

void sleep_ms(int32_t milliseconds) {
  if (milliseconds <= 0) return;
  timespec wanted{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  // A signal cuts nanosleep short; carry on with what is left.
  while (nanosleep(&wanted, &wanted) != 0) {
  }
}

bool perf_frequency(int64_t* frequency) {
  if (frequency) *frequency = 1000000000;  // the counter below counts nanoseconds
  return true;
}

int64_t perf_counter() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

uint32_t tick_count() { return static_cast<uint32_t>(perf_counter() / 1000000); }

}  // namespace zv::platform
