// The saver's number rules: random integers, the colour step and the bounce.
#pragma once

#include <cmath>
#include <cstdint>

namespace morv {

// A long double to int32 the way the FPU stores it: to nearest, ties to even, and
// anything outside int32 (NaN too) becomes INT32_MIN.
inline int32_t to_int32_nearest_even(long double value) {
  if (!(value == value)) return INT32_MIN;
  long double whole = std::floor(value);
  const long double fraction = value - whole;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) whole += 1.0L;
  if (whole > 2147483647.0L || whole < -2147483648.0L) return INT32_MIN;
  return static_cast<int32_t>(whole);
}

// A random integer 1...n from a draw in [0, 1).
inline int32_t random_integer(long double draw, double n) {
  return to_int32_nearest_even(std::floor(draw * n) + 1.0);
}

// The colour doubles as an unsigned word, is read back as signed, and the increment
// (a draw in [0, 1) times 4) is added in extended precision.
inline int32_t next_colour(int32_t colour, long double draw) {
  const auto doubled = static_cast<int32_t>(static_cast<uint32_t>(colour) << 1);
  return to_int32_nearest_even(doubled + draw * 4.0);
}

// Steps one coordinate and turns its direction when the new place lies outside
// low...high; the copy stands one step beyond the limit for that frame.
inline void bounce(int32_t* position, int32_t* step, int32_t low, int32_t high) {
  *position += *step;
  if (*position < low || *position > high) *step = -*step;
}

}  // namespace morv
