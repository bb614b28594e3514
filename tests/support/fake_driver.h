// Fake display drivers: each records its open_display calls, counts locks and other
// calls, and opens or fails as a test says. They never touch a window system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/driver.h"

namespace zv::test {

constexpr int32_t FAKE_DRIVER_COUNT = 4;

struct FakeOpen {
  std::string driver;
  std::string title;
  int32_t width;
  int32_t height;
  int32_t depth;
  int32_t refresh_rate;
  int32_t flags;
};

struct FakeDriverState {
  std::string name;       // the driver_name the record shows
  int32_t failing_opens;  // open_display fails this many more times; -1 fails always
  int32_t opens;
  int32_t closes;
  int32_t locks;
  int32_t unlocks;
  int32_t vblank_waits;
  int32_t presents;
  int32_t pumps;
  std::vector<std::string> titles;
  std::vector<std::vector<int32_t>> palette_entries;  // index, red, green, blue
  // Called at the end of a successful open_display and at the start of lock and unlock,
  // with "open", "lock" or "unlock": a test can watch what the program does between them.
  void (*watch)(const char* call);
};

// The record of fake i (0 to FAKE_DRIVER_COUNT - 1). Tests may clear optional entries.
DisplayDriver* fake_driver(int32_t i);
FakeDriverState& fake_state(int32_t i);
// Every open_display call of every fake, in order.
std::vector<FakeOpen>& fake_opens();

// Puts fakes 0..count-1 (named "Fake0"...) in the driver list, all succeeding and with
// every entry filled, forgets what was recorded, and clears "ZVGFX". count 0 gives an
// empty list.
void install_fake_drivers(int32_t count);
// Gives fake i the present_frame and pump_input of a back-end without an update thread.
void give_present_frame(int32_t i);
// The built-in list again.
void restore_driver_list();

// Sets an environment variable for the process; null value removes it.
void set_test_env(const char* name, const char* value);

}  // namespace zv::test
