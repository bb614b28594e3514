// The message box on Linux: our own X11 dialog, else a question on the terminal,
// else no answer at all (0, as a failing MessageBoxA gives).
#include <unistd.h>

#include <cstdio>

#include "platform/message_box_rules.h"
#include "platform/posix/x11_message_box.h"

namespace zv::platform {

int32_t system_message_box(const char* text, const char* caption, uint32_t style) {
  if (!text) text = "";
  if (!caption) caption = "";
  int32_t answer = x11_message_box(text, caption, style);
  if (answer != X11_NO_DISPLAY) return answer;
  if (isatty(STDIN_FILENO)) return terminal_message_box(text, caption, style, stdin, stderr);
  return 0;
}

}  // namespace zv::platform
