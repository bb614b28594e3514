#include "support/fake_driver.h"

#include <cstdlib>
#include <utility>

namespace zv::test {

namespace {

FakeDriverState states[FAKE_DRIVER_COUNT];
DisplayDriver records[FAKE_DRIVER_COUNT];
const DisplayDriver* list[FAKE_DRIVER_COUNT + 1];
std::vector<FakeOpen> opens;

// One set of entry functions per fake, since a record's entries get no "self".
template <int I>
struct Fake {
  static int32_t open(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                      int32_t flags) {
    FakeDriverState& s = states[I];
    ++s.opens;
    opens.push_back({s.name, title ? title : "", width, height, depth, refresh_rate, flags});
    if (s.failing_opens == 0) {
      if (s.watch) s.watch("open");
      return 0;
    }
    if (s.failing_opens > 0) --s.failing_opens;
    return -1;
  }
  static void close() { ++states[I].closes; }
  static void lock() {
    if (states[I].watch) states[I].watch("lock");
    ++states[I].locks;
  }
  static void unlock() {
    if (states[I].watch) states[I].watch("unlock");
    ++states[I].unlocks;
  }
  static void set_palette_entry(int32_t index, int32_t red, int32_t green, int32_t blue) {
    states[I].palette_entries.push_back({index, red, green, blue});
  }
  static void wait_vblank() { ++states[I].vblank_waits; }
  static void set_title(const char* title) { states[I].titles.push_back(title ? title : ""); }
  static void present() { ++states[I].presents; }
  static void pump() { ++states[I].pumps; }

  static DisplayDriver record() {
    return {states[I].name.c_str(), open, close, lock, unlock, set_palette_entry, wait_vblank, nullptr,
            nullptr, set_title, nullptr, nullptr, present, pump};
  }
};

void (*present_entries[FAKE_DRIVER_COUNT])();
void (*pump_entries[FAKE_DRIVER_COUNT])();

template <int... I>
void fill_records(std::integer_sequence<int, I...>) {
  ((records[I] = Fake<I>::record(), present_entries[I] = Fake<I>::present, pump_entries[I] = Fake<I>::pump), ...);
}

}  // namespace

DisplayDriver* fake_driver(int32_t i) { return &records[i]; }
FakeDriverState& fake_state(int32_t i) { return states[i]; }
std::vector<FakeOpen>& fake_opens() { return opens; }

void install_fake_drivers(int32_t count) {
  for (int32_t i = 0; i < FAKE_DRIVER_COUNT; ++i) {
    states[i] = FakeDriverState{};
    states[i].name = "Fake" + std::to_string(i);
  }
  fill_records(std::make_integer_sequence<int, FAKE_DRIVER_COUNT>{});
  // The threaded back-ends have no present_frame; the fakes behave like them unless a test adds it.
  for (auto& r : records) r.present_frame = r.pump_input = nullptr;
  for (int32_t i = 0; i <= FAKE_DRIVER_COUNT; ++i) list[i] = i < count ? &records[i] : nullptr;
  opens.clear();
  set_display_driver_list(list);
  set_test_env("ZVGFX", nullptr);
}

void give_present_frame(int32_t i) {
  records[i].present_frame = present_entries[i];
  records[i].pump_input = pump_entries[i];
}

void restore_driver_list() { set_display_driver_list(nullptr); }

void set_test_env(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
}

}  // namespace zv::test
