// Random numbers with four selectable generators, the seconds timer, and the
// replaceable clock and sleep that the whole runtime goes through.
#pragma once

#include <cstdint>

namespace zv {

// Generator numbers for randomize; 0 picks the default for the language option.
constexpr int32_t RND_CLIB = 1;     // the C runtime's rand, 15 bits
constexpr int32_t RND_LCG32 = 2;
constexpr int32_t RND_MT19937 = 3;
constexpr int32_t RND_LCG24 = 4;

// A number in [0, 1). rnd(0) repeats the last one (the linear generators report
// their current state); for RND_LCG24 a negative argument reseeds from its bits.
long double rnd(float n);
// Seed -1.0 seeds from the timer. The seed is truncated toward zero.
void randomize(double seed, int32_t algorithm);
// Seconds since an arbitrary origin.
double timer_seconds();

// Seams for tests and for a driver that runs the program against a fake clock.
// Every sleep of the runtime goes through runtime_sleep_ms; null restores the real ones.
using SleepFunction = void (*)(int32_t milliseconds);
using TimerFunction = double (*)();
void set_sleep_function(SleepFunction sleep);
void set_timer_function(TimerFunction timer);
void runtime_sleep_ms(int32_t milliseconds);

// Back to the state at process start: the first-call selector, no twister state,
// the small state 0x50000 and last value 0.
void random_reset();

}  // namespace zv
