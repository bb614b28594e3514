// Libraries, the program's own path, the environment, the tone and the message box.
#include <cstdlib>

#include "platform/message_box_rules.h"
#include "platform/platform.h"

// After our headers: windows.h defines IDOK and MB_* as macros.
#include <windows.h>

namespace zv::platform {

Library* library_open(const char* name) {
  if (!name) return nullptr;
  return reinterpret_cast<Library*>(LoadLibraryA(name));
}

void* library_symbol(Library* library, const char* name) {
  if (!library || !name) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(library), name));
}

void library_close(Library* library) {
  if (library) FreeLibrary(reinterpret_cast<HMODULE>(library));
}

int32_t module_path(char* buffer, int32_t size) {
  if (!buffer || size <= 0) return 0;
  DWORD length = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
  // A truncated path fills the buffer without its terminator on older systems.
  if (length >= static_cast<DWORD>(size)) length = static_cast<DWORD>(size) - 1;
  buffer[length] = 0;
  return static_cast<int32_t>(length);
}

const char* get_env(const char* name) { return name ? std::getenv(name) : nullptr; }

void beep(int32_t frequency, int32_t duration_ms) {
  if (frequency > 0 && duration_ms > 0) Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(duration_ms));
}

int32_t system_message_box(const char* text, const char* caption, uint32_t style) {
  return MessageBoxA(nullptr, text, caption, style);
}

}  // namespace zv::platform
