// The input an example gets while it renders without a display: key codes, typed
// text, mouse states and pauses. The example takes one step each time it pauses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace example_shot {

enum class StepKind { key, mouse, wait };

struct InputStep {
  StepKind kind;
  int32_t key;  // kind key: the key code posted
  int32_t x, y, buttons;  // kind mouse: where the mouse is and which buttons are down
};

// Words separated by blanks:
//   key:N        post key code N (decimal, or 0x hexadecimal)
//   text:WORD    post each character of WORD as its key code; _ stands for a blank
//   mouse:X,Y,B  the mouse is at (X, Y) with buttons B
//   wait:N       N pauses without input
// False, with the reason in *error, for anything else.
bool parse_input_script(const std::string& script, std::vector<InputStep>* steps, std::string* error);

}  // namespace example_shot
