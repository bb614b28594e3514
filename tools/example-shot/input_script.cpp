#include "input_script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace example_shot {

namespace {

// Pauses and texts beyond this are a typing mistake, not an example's input.
constexpr long MAX_REPEAT = 100000;

bool read_number(const std::string& text, long low, long high, int32_t* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  *out = static_cast<int32_t>(value);
  return true;
}

bool read_mouse(const std::string& text, InputStep* step) {
  const size_t first = text.find(',');
  const size_t second = first == std::string::npos ? first : text.find(',', first + 1);
  if (second == std::string::npos) return false;
  return read_number(text.substr(0, first), -32768, 32767, &step->x) &&
         read_number(text.substr(first + 1, second - first - 1), -32768, 32767, &step->y) &&
         read_number(text.substr(second + 1), 0, 7, &step->buttons);
}

}  // namespace

bool parse_input_script(const std::string& script, std::vector<InputStep>* steps, std::string* error) {
  std::istringstream words(script);
  std::string word;
  while (words >> word) {
    const size_t colon = word.find(':');
    const std::string name = word.substr(0, colon);
    const std::string value = colon == std::string::npos ? "" : word.substr(colon + 1);
    InputStep step{StepKind::wait, 0, 0, 0, 0};
    int32_t count = 0;
    if (name == "key" && read_number(value, 1, 0x7FFFFFFF, &step.key)) {
      step.kind = StepKind::key;
      steps->push_back(step);
    } else if (name == "text" && !value.empty() && value.size() <= MAX_REPEAT) {
      step.kind = StepKind::key;
      for (const char c : value) {
        step.key = c == '_' ? ' ' : static_cast<uint8_t>(c);
        steps->push_back(step);
      }
    } else if (name == "mouse" && read_mouse(value, &step)) {
      step.kind = StepKind::mouse;
      steps->push_back(step);
    } else if (name == "wait" && read_number(value, 1, MAX_REPEAT, &count)) {
      steps->insert(steps->end(), static_cast<size_t>(count), step);
    } else {
      *error = "not an input step: " + word;
      return false;
    }
  }
  return true;
}

}  // namespace example_shot
