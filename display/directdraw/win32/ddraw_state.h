// The DirectX driver's state on Windows, shared by its open and close steps, its update
// cycle and its keyboard. The window thread owns it; the program's thread reads the
// DirectDraw object only under the screen lock.
#pragma once

#define DIRECTINPUT_VERSION 0x0300
#include <windows.h>
#include <ddraw.h>
#include <dinput.h>

#include <cstdint>

namespace zv {

struct DdrawState {
  HMODULE ddraw_library;
  HMODULE dinput_library;
  IDirectDraw2* direct_draw;
  IDirectDrawSurface* primary;
  IDirectDrawSurface* back;  // the primary itself in full screen
  IDirectDrawClipper* clipper;
  IDirectDrawPalette* palette;
  IDirectInputA* direct_input;
  IDirectInputDevice* keyboard;
  HANDLE vblank_event;  // manual reset; lives from the first open to the end of the process
  volatile LONG vblank_pending;
  int32_t window_left;  // kept across closes: a re-opened window comes back where it was
  int32_t window_top;
  int32_t row_offset;
  int32_t mode_height;  // full screen: the height of the display mode that was set
  int32_t surface_bits;
};

extern DdrawState ddraw;

// The steps the window thread runs: 0 / -1, and the undoing of whatever an open made.
int32_t ddraw_open_hook();
void ddraw_close_hook();

// The library creation functions in force (a test's, or the loaded libraries').
struct DdrawFunctions {
  HRESULT(WINAPI* direct_draw_create)(GUID*, IDirectDraw**, IUnknown*);  // DirectDrawCreateFn
  HRESULT(WINAPI* direct_draw_enumerate_ex)(LPDDENUMCALLBACKEXA, void*, DWORD);
  HRESULT(WINAPI* direct_input_create)(HINSTANCE, DWORD, IDirectInputA**, IUnknown*);
};
// Loads both libraries into ddraw (or takes a test's functions); false when either is missing.
bool ddraw_load_libraries(DdrawFunctions* functions);
void ddraw_free_libraries();
// "DirectDrawCreate" from a library loaded for the caller alone (library: null for a test's).
using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
DirectDrawCreateFn ddraw_load_create_function(HMODULE* library);

// Keyboard: the device on the DirectInput object (0 / -1), its state into key_state,
// and its release.
int32_t ddraw_open_keyboard();
void ddraw_read_keyboard(uint8_t key_state[128]);
void ddraw_close_keyboard();

template <class T>
void release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace zv
