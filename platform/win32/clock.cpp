// Sleeping and the two clocks.
#include "platform/platform.h"

// After our headers: windows.h defines IDOK and MB_* as macros.
#include <windows.h>

namespace zv::platform {

// A negative count would reach Sleep as a huge unsigned one (-1 is INFINITE).
void sleep_ms(int32_t milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

bool perf_frequency(int64_t* frequency) {
  LARGE_INTEGER value{};
  if (!QueryPerformanceFrequency(&value) || value.QuadPart <= 0) return false;
  if (frequency) *frequency = value.QuadPart;
  return true;
}

int64_t perf_counter() {
  LARGE_INTEGER value{};
  QueryPerformanceCounter(&value);
  return value.QuadPart;
}

uint32_t tick_count() { return GetTickCount(); }

}  // namespace zv::platform
