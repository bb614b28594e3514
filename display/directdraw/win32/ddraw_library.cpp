// Loading "ddraw.dll" and "dinput.dll" and their creation functions by name.
#include "display/directdraw/win32/ddraw_library.h"

#include "display/directdraw/win32/ddraw_state.h"

namespace zv {

namespace {

const DdrawLibraryFunctions* replacement = nullptr;

template <class F>
void take(F* slot, void* function) {
  *slot = reinterpret_cast<F>(function);
}

void* symbol(HMODULE library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(library, name));
}

}  // namespace

void ddraw_replace_libraries(const DdrawLibraryFunctions* functions) { replacement = functions; }

bool ddraw_load_libraries(DdrawFunctions* f) {
  *f = DdrawFunctions{};
  if (replacement) {
    take(&f->direct_draw_create, replacement->direct_draw_create);
    take(&f->direct_draw_enumerate_ex, replacement->direct_draw_enumerate_ex);
    take(&f->direct_input_create, replacement->direct_input_create);
    return true;
  }
  ddraw.ddraw_library = LoadLibraryA("ddraw.dll");
  ddraw.dinput_library = LoadLibraryA("dinput.dll");
  if (!ddraw.ddraw_library || !ddraw.dinput_library) return false;
  take(&f->direct_draw_create, symbol(ddraw.ddraw_library, "DirectDrawCreate"));
  take(&f->direct_draw_enumerate_ex, symbol(ddraw.ddraw_library, "DirectDrawEnumerateExA"));
  take(&f->direct_input_create, symbol(ddraw.dinput_library, "DirectInputCreateA"));
  return true;
}

void ddraw_free_libraries() {
  if (ddraw.ddraw_library) FreeLibrary(ddraw.ddraw_library);
  if (ddraw.dinput_library) FreeLibrary(ddraw.dinput_library);
  ddraw.ddraw_library = nullptr;
  ddraw.dinput_library = nullptr;
}

DirectDrawCreateFn ddraw_load_create_function(HMODULE* library) {
  *library = nullptr;
  DirectDrawCreateFn create = nullptr;
  if (replacement) {
    take(&create, replacement->direct_draw_create);
    return create;
  }
  *library = LoadLibraryA("ddraw.dll");
  if (*library) take(&create, symbol(*library, "DirectDrawCreate"));
  return create;
}

}  // namespace zv
