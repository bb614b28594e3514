#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/message_box_rules.h"
#include "platform/platform.h"

using namespace zv::platform;

// With no display and no terminal to ask on, the box answers 0 at once.
TEST(MessageBoxPosix, NoDisplayAndNoTerminalGiveNoAnswer) {
  if (isatty(STDIN_FILENO)) GTEST_SKIP() << "standard input is a terminal";
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  setenv("DISPLAY", "", 1);
  EXPECT_EQ(system_message_box("Sreensaver testen?", " ", MB_YESNO | MB_ICONQUESTION), 0);
  EXPECT_EQ(system_message_box(nullptr, nullptr, MB_OK), 0);
  if (display) {
    setenv("DISPLAY", saved.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}
