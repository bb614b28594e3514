// Libraries, the program's own path, the environment and the bell.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace zv::platform {

Library* library_open(const char* name) {
  if (!name) return nullptr;
  return static_cast<Library*>(dlopen(name, RTLD_NOW | RTLD_LOCAL));
}

void* library_symbol(Library* library, const char* name) {
  if (!library || !name) return nullptr;
  return dlsym(library, name);
}

void library_close(Library* library) {
  if (library) dlclose(library);
}

int32_t module_path(char* buffer, int32_t size) {
  if (!buffer || size <= 0) return 0;
  ssize_t length = readlink("/proc/self/exe", buffer, static_cast<size_t>(size) - 1);
  if (length < 0) length = 0;
  buffer[length] = 0;
  return static_cast<int32_t>(length);
}

const char* get_env(const char* name) { return name ? std::getenv(name) : nullptr; }

// Only a terminal makes a sound of the bell; anywhere else the byte would be noise.
void beep(int32_t /*frequency*/, int32_t /*duration_ms*/) {
  if (isatty(STDERR_FILENO)) {
    std::fputc('\a', stderr);
    std::fflush(stderr);
  }
}

}  // namespace zv::platform
