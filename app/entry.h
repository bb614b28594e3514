// The program's top level: looks at the switch the screensaver host passes and
// runs the saver, shows the no-options box or asks whether to test the saver.
#pragma once

#include <cstdint>

namespace morv {

// The texts are in code page 1252, as the ANSI message box takes them.
inline constexpr char TEST_PROMPT_TEXT[] = "Sreensaver testen?";
inline constexpr char TEST_PROMPT_CAPTION[] = " ";
inline constexpr char NO_OPTIONS_TEXT[] = "Dieser Bildschirmschoner hat keine Optionen, die sie einstellen k\xF6" "nnen.";
inline constexpr char NO_OPTIONS_CAPTION[] = "MORV";

// Decides from argument 1 and returns the exit code, which is always 0.
int32_t morv_main(int32_t argc, char** argv);

// Tests replace the animation; null restores run_screensaver.
void set_screensaver_function(void (*run)());

}  // namespace morv
