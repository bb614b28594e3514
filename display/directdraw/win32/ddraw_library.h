// The component libraries of the DirectX driver, loaded by name. Tests put functions
// of their own in place of the libraries' (fake component objects behind them).
#pragma once

namespace zv {

// The three creation functions, as GetProcAddress gives them (null when missing).
struct DdrawLibraryFunctions {
  void* direct_draw_create;         // "DirectDrawCreate"
  void* direct_draw_enumerate_ex;   // "DirectDrawEnumerateExA"
  void* direct_input_create;        // "DirectInputCreateA"
};

// Null restores loading "ddraw.dll" and "dinput.dll". With a replacement in place no
// library is loaded; a replacement with a null create function stands for a missing one.
void ddraw_replace_libraries(const DdrawLibraryFunctions* functions);

}  // namespace zv
