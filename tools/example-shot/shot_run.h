// Runs an example program on a screen that lives only in memory and writes what the
// screen showed when it closed as a PNG: the visible page as a display would show it.
#pragma once

#include <string>
#include <vector>

#include "input_script.h"

namespace example_shot {

struct ShotOptions {
  std::string output;
  std::vector<InputStep> steps;
};

// Exit codes of the runner.
constexpr int SHOT_WRITTEN = 0;
constexpr int SHOT_FAILED = 1;     // no screen was shown, or the file cannot be written
constexpr int SHOT_STUCK = 3;      // the example still waits after its input ran out

// The example's own main. Pauses take no time: a clock counts them instead, and each
// pause hands the example the next input step.
int run_shot(const ShotOptions& options, int (*example_main)());

}  // namespace example_shot
