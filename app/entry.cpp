#include "app/entry.h"

#include "app/screensaver.h"
#include "platform/platform.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace morv {

namespace {

void (*screensaver)() = nullptr;

void start_screensaver() { (screensaver ? screensaver : run_screensaver)(); }

bool equals(zv::StringDescriptor* string, const char* literal) {
  return zv::str_compare(string, zv::STR_DESCRIPTOR, literal, 0) == 0;
}

}  // namespace

void set_screensaver_function(void (*run)()) { screensaver = run; }

int32_t morv_main(int32_t argc, char** argv) {
  using namespace zv;
  using namespace zv::platform;
  set_args(argc, argv, 0);
  if (str_compare(command_arg(1), STR_DESCRIPTOR, "", 0) == 0) {
    // Opened directly, without a switch.
    if (message_box(TEST_PROMPT_TEXT, TEST_PROMPT_CAPTION, MB_YESNO | MB_ICONQUESTION) == IDYES) start_screensaver();
    return 0;
  }
  // Only the second character counts: "/s", "-S" and "xs" alike; "/c:1234" is "c".
  StringDescriptor substring{};
  StringDescriptor option{};
  str_assign(&substring, STR_DESCRIPTOR, str_mid(command_arg(1), 2, 1), STR_DESCRIPTOR, 0);
  str_assign(&option, STR_DESCRIPTOR, &substring, STR_DESCRIPTOR, 0);
  if (equals(&option, "s") || equals(&option, "S")) {
    start_screensaver();
  } else if (equals(&option, "c") || equals(&option, "C")) {
    message_box(NO_OPTIONS_TEXT, NO_OPTIONS_CAPTION, MB_OK | MB_ICONWARNING);
  }
  str_free(&option);
  str_free(&substring);
  return 0;
}

}  // namespace morv
