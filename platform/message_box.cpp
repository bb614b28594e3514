// The message box, replaceable for tests.
#include "platform/message_box_rules.h"
#include "platform/platform.h"

namespace zv::platform {

namespace {
MessageBoxFn replacement = nullptr;
}

void set_message_box(MessageBoxFn fn) { replacement = fn; }

int32_t message_box(const char* text, const char* caption, uint32_t style) {
  if (replacement) return replacement(text, caption, style);
  return system_message_box(text, caption, style);
}

}  // namespace zv::platform
