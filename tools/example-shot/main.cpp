// example-shot: one example program rendered without a display.
//
//   shot_<example> -o picture.png [--input "key:13 text:Ada mouse:100,50,1 wait:10"]
//
// Each shot_<example> holds the example itself, its main renamed example_main.
#include <cstdio>
#include <cstring>
#include <string>

#include "shot_run.h"

int example_main();

int main(int argc, char** argv) {
  example_shot::ShotOptions options;
  std::string error;
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (!std::strcmp(argv[i], "-o") && has_value) {
      options.output = argv[++i];
    } else if (!std::strcmp(argv[i], "--input") && has_value) {
      if (!example_shot::parse_input_script(argv[++i], &options.steps, &error)) break;
    } else {
      error = std::string("unexpected argument: ") + argv[i];
      break;
    }
  }
  if (error.empty() && options.output.empty()) error = "no output file (-o)";
  if (!error.empty()) {
    std::fprintf(stderr, "example-shot: %s\nusage: %s -o picture.png [--input SCRIPT]\n", error.c_str(), argv[0]);
    return 2;
  }
  return example_shot::run_shot(options, example_main);
}
