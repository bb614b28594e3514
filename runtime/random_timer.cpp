#include "runtime/random_timer.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

constexpr uint32_t SMALL_STATE_START = 0x50000;
constexpr int32_t MT_WORDS = 624;
constexpr int32_t MT_MIDDLE = 397;
constexpr long double TWO_POW_M32 = 1.0L / 4294967296.0L;
constexpr long double TWO_POW_M24 = 1.0L / 16777216.0L;
constexpr long double TWO_POW_M15 = 1.0L / 32768.0L;

using Generator = long double (*)(float);

long double first_call(float n);

struct RandomState {
  Generator current = first_call;
  double last = 0.0;
  uint32_t small = SMALL_STATE_START;  // shared by the 32- and 24-bit linear generators
  uint32_t twister[MT_WORDS] = {};
  int32_t position = -1;  // -1: never seeded
};

RandomState state;

enum class TimerMode { NotChosen, Ticks, Counter };
TimerMode timer_mode = TimerMode::NotChosen;
double counter_period = 0.0;
TimerFunction timer_override = nullptr;
SleepFunction sleep_override = nullptr;

// Truncation toward zero, saturated: NaN and out-of-range seeds give defined values.
int64_t truncate_to_int64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775808.0) return INT64_MAX;
  if (value <= -9223372036854775808.0) return INT64_MIN;
  return static_cast<int64_t>(value);
}

int32_t truncate_to_int32(double value) {
  int64_t whole = truncate_to_int64(value);
  if (whole > INT32_MAX) return INT32_MAX;
  if (whole < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(whole);
}

uint32_t high_word(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return static_cast<uint32_t>(bits >> 32);
}

uint32_t float_bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

void twister_regenerate() {
  uint32_t* mt = state.twister;
  for (int32_t i = 0; i < MT_WORDS; ++i) {
    uint32_t y = (mt[i] & 0x80000000u) | (mt[(i + 1) % MT_WORDS] & 0x7FFFFFFFu);
    mt[i] = mt[(i + MT_MIDDLE) % MT_WORDS] ^ (y >> 1) ^ ((y & 1) ? 0x9908B0DFu : 0u);
  }
  state.position = 0;
}

// The platform's rand gives 15 bits on Windows; elsewhere its range is wider and
// only the low 15 bits are taken, so that the result stays below 1.
long double generate_clib(float n) {
  if (n == 0.0f) return state.last;
  return static_cast<long double>(std::rand() & 0x7FFF) * TWO_POW_M15;
}

long double generate_lcg32(float n) {
  if (n != 0.0f) state.small = state.small * 1664525u + 1013904223u;
  return state.small * TWO_POW_M32;
}

long double generate_mt19937(float n) {
  if (n == 0.0f) return state.last;
  if (state.position < 0) randomize(327680.0, RND_MT19937);
  if (state.position >= MT_WORDS) twister_regenerate();
  uint32_t y = state.twister[state.position++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y * TWO_POW_M32;
}

long double generate_lcg24(float n) {
  if (n < 0.0f) {
    uint32_t bits = float_bits(n);
    state.small = (bits >> 24) + (bits & 0xFFFFFF);
  }
  if (n != 0.0f) state.small = (state.small * 16598013u + 12820163u) & 0xFFFFFF;
  return (state.small & 0xFFFFFF) * TWO_POW_M24;
}

long double first_call(float n) {
  switch (runtime.language_option) {
    case 1: state.current = generate_clib; break;
    case 2:
      state.current = generate_lcg24;
      state.small = SMALL_STATE_START;
      break;
    default: randomize(0.0, 0); break;
  }
  return state.current(n);
}

}  // namespace

long double rnd(float n) {
  long double value = state.current(n);
  state.last = static_cast<double>(value);
  return value;
}

void randomize(double seed, int32_t algorithm) {
  if (algorithm == 0) algorithm = runtime.language_option == 1 ? RND_CLIB : runtime.language_option == 2 ? RND_LCG24 : RND_MT19937;
  if (seed == -1.0) seed = timer_seconds();
  switch (algorithm) {
    case RND_CLIB:
      state.current = generate_clib;
      std::srand(static_cast<unsigned>(truncate_to_int32(seed)));
      std::rand();
      break;
    case RND_LCG32:
      state.current = generate_lcg32;
      state.small = static_cast<uint32_t>(truncate_to_int64(seed));
      break;
    case RND_LCG24: {
      state.current = generate_lcg24;
      uint32_t h = high_word(seed);
      state.small = ((((h >> 16) ^ h) & 0xFFFF) << 8) | (state.small & 0xFF);
      break;
    }
    default:
      state.current = generate_mt19937;
      state.twister[0] = static_cast<uint32_t>(truncate_to_int64(seed));
      for (int32_t i = 1; i < MT_WORDS; ++i) state.twister[i] = state.twister[i - 1] * 1664525u + 1013904223u;
      state.position = MT_WORDS;
      break;
  }
}

double timer_seconds() {
  if (timer_override) return timer_override();
  if (timer_mode == TimerMode::NotChosen) {
    int64_t frequency = 0;
    if (platform::perf_frequency(&frequency) && frequency > 0) {
      timer_mode = TimerMode::Counter;
      counter_period = 1.0 / static_cast<double>(frequency);
    } else {
      timer_mode = TimerMode::Ticks;
    }
  }
  if (timer_mode == TimerMode::Ticks) return platform::tick_count() * 0.001;
  return static_cast<double>(platform::perf_counter()) * counter_period;
}

void set_sleep_function(SleepFunction sleep) { sleep_override = sleep; }
void set_timer_function(TimerFunction timer) { timer_override = timer; }

void runtime_sleep_ms(int32_t milliseconds) {
  if (sleep_override) {
    sleep_override(milliseconds);
  } else {
    platform::sleep_ms(milliseconds);
  }
}

void random_reset() { state = RandomState{}; }

}  // namespace zv
