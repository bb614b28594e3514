#include "app/locker/locker_options.h"

#include <cstdint>
#include <cstring>

namespace morv {

const char LOCKER_USAGE[] =
    "usage: morv-hack [-root | -window | -window-id ID]\n"
    "  Draws the morv screensaver into the window a screen locker names in\n"
    "  $XSCREENSAVER_WINDOW, the window ID (hex 0x... or decimal), the root\n"
    "  window, or a window of its own. Ends on SIGTERM, SIGINT, SIGHUP or\n"
    "  SIGUSR1, or when the window is destroyed.\n";

namespace {

// X resource ids have 29 bits; anything wider is not a window.
constexpr uint64_t LARGEST_ID = 0xFFFFFFFFull;

int32_t digit_value(char c, int32_t base) {
  int32_t v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// "-name", "--name" -> "name"; null for anything that is not an option.
const char* option_name(const char* arg) {
  if (arg[0] != '-') return nullptr;
  return arg[1] == '-' ? arg + 2 : arg + 1;
}

}  // namespace

bool parse_window_id(const char* text, unsigned long* window) {
  if (!text) return false;
  int32_t base = 10;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text += 2;
  }
  if (*text == '\0') return false;
  uint64_t value = 0;
  for (; *text; ++text) {
    const int32_t d = digit_value(*text, base);
    if (d < 0) return false;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (value > LARGEST_ID) return false;
  }
  if (value == 0) return false;
  *window = static_cast<unsigned long>(value);
  return true;
}

bool parse_locker_options(int argc, const char* const* argv, const char* environment_window, LockerOptions* options,
                          std::string* error) {
  *options = LockerOptions{};
  bool root = false;
  bool explicit_target = false;
  for (int i = 1; i < argc; ++i) {
    const char* name = option_name(argv[i]);
    if (!name) {
      *error = std::string("unexpected argument \"") + argv[i] + "\"";
      return false;
    }
    if (std::strcmp(name, "root") == 0) {
      root = true;
    } else if (std::strcmp(name, "window") == 0) {
      options->target = LockerTarget::OWN_WINDOW;
      root = false;
      explicit_target = true;
    } else if (std::strcmp(name, "window-id") == 0 || std::strncmp(name, "window-id=", 10) == 0) {
      const char* value = name[9] == '=' ? name + 10 : (i + 1 < argc ? argv[++i] : nullptr);
      if (!value) {
        *error = "-window-id needs a window id";
        return false;
      }
      if (!parse_window_id(value, &options->window)) {
        *error = std::string("bad window id \"") + value + "\" (hex 0x... or decimal)";
        return false;
      }
      options->target = LockerTarget::WINDOW_ID;
      root = false;
      explicit_target = true;
    } else if (std::strcmp(name, "h") == 0 || std::strcmp(name, "help") == 0) {
      options->help = true;
    } else {
      *error = std::string("unknown option \"") + argv[i] + "\"";
      return false;
    }
  }
  if (explicit_target || options->help) return true;
  if (environment_window && *environment_window) {
    if (!parse_window_id(environment_window, &options->window)) {
      *error = std::string("bad $XSCREENSAVER_WINDOW \"") + environment_window + "\" (hex 0x... or decimal)";
      return false;
    }
    options->target = LockerTarget::WINDOW_ID;
    options->from_environment = true;
  } else if (root) {
    options->target = LockerTarget::ROOT;
  }
  return true;
}

}  // namespace morv
