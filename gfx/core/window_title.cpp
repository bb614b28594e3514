// The window title: set by the program or taken from the program's file name.
#include <cstring>

#include "gfx/core/screen.h"
#include "platform/platform.h"
#include "runtime/strings.h"

namespace zv {

namespace {

constexpr int32_t TITLE_SIZE = 128;
char title_buffer[TITLE_SIZE];
const char* current_title = nullptr;

void store_title(const char* bytes, size_t length) {
  std::memset(title_buffer, 0, TITLE_SIZE);
  if (length > TITLE_SIZE - 1) length = TITLE_SIZE - 1;
  if (bytes && length) std::memcpy(title_buffer, bytes, length);
  current_title = title_buffer;
}

}  // namespace

const char* window_title() { return current_title; }

void title_from_module_path(const char* path, char* title, int32_t size) {
  if (!title || size <= 0) return;
  title[0] = 0;
  if (!path) return;
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  size_t length = std::strlen(name);
  if (length > static_cast<size_t>(size - 1)) length = static_cast<size_t>(size - 1);
  std::memcpy(title, name, length);
  title[length] = 0;
  if (char* dot = std::strrchr(title, '.')) *dot = 0;
}

void ensure_window_title() {
  if (current_title) return;
  char path[1024];
  platform::module_path(path, sizeof path);
  char title[TITLE_SIZE];
  title_from_module_path(path, title, TITLE_SIZE);
  store_title(title, std::strlen(title));
}

void set_window_title(StringDescriptor* title) {
  store_title(title ? title->data : nullptr, static_cast<size_t>(str_length(title)));
  const GraphicsState* gs = current_screen;
  if (gs && gs->driver && gs->driver->set_title) gs->driver->set_title(title_buffer);
  if (title) str_release_temp(title);
}

}  // namespace zv
