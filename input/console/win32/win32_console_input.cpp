// Console input on Windows: the input buffer's events, the control handler, and the
// console window's foreground state for held keys.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input/console/console_input.h"
#include "runtime/random_timer.h"

// After our headers: windows.h defines macros that collide with some of our names.
#include <windows.h>

namespace zv {

namespace {

static_assert(sizeof(INPUT_RECORD) == sizeof(ConsoleInputRecord));

HANDLE input_handle = nullptr;
HWND console_window = nullptr;
bool window_searched = false;

bool start() {
  input_handle = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  return input_handle && input_handle != INVALID_HANDLE_VALUE && GetConsoleMode(input_handle, &mode);
}

// Peeking first tells how many events wait without blocking (and makes wine's terminal
// console look at its input, which the event count alone does not).
int32_t read_events(ConsoleInputRecord* records, int32_t capacity) {
  constexpr DWORD MAX_EVENTS = 64;
  INPUT_RECORD events[MAX_EVENTS];
  DWORD wanted = capacity < static_cast<int32_t>(MAX_EVENTS) ? static_cast<DWORD>(capacity) : MAX_EVENTS;
  DWORD waiting = 0;
  if (!input_handle || !PeekConsoleInputA(input_handle, events, wanted, &waiting) || waiting == 0) return 0;
  DWORD got = 0;
  if (!ReadConsoleInputA(input_handle, events, waiting, &got)) return 0;
  for (DWORD i = 0; i < got; ++i) std::memcpy(&records[i], &events[i], sizeof(ConsoleInputRecord));
  return static_cast<int32_t>(got);
}

BOOL WINAPI control_handler(DWORD signal) { return console_control_signal(signal) ? TRUE : FALSE; }

void remove_control_handler() { SetConsoleCtrlHandler(control_handler, FALSE); }

void install_control_handler() {
  if (SetConsoleCtrlHandler(control_handler, TRUE)) std::atexit(remove_control_handler);
}

// The console window is found by giving the console a title no other window has.
HWND find_console_window() {
  char previous[1024] = {};
  GetConsoleTitleA(previous, sizeof previous);
  char unique[64];
  std::snprintf(unique, sizeof unique, "_zv_console_title %f", timer_seconds());
  if (!SetConsoleTitleA(unique)) return nullptr;
  Sleep(40);  // the title reaches the window asynchronously
  HWND window = FindWindowA(nullptr, unique);
  SetConsoleTitleA(previous);
  return window;
}

bool window_is_foreground() {
  if (!window_searched) {
    window_searched = true;
    console_window = find_console_window();
  }
  return console_window && GetForegroundWindow() == console_window;
}

bool virtual_key_down(uint32_t virtual_key) { return (GetAsyncKeyState(static_cast<int>(virtual_key)) & 0x8000) != 0; }

void enable_mouse() {
  DWORD mode = 0;
  if (!input_handle || !GetConsoleMode(input_handle, &mode)) return;
  // Quick edit takes the mouse for selecting text; mouse input gives it to the program.
  mode = (mode | ENABLE_MOUSE_INPUT | ENABLE_EXTENDED_FLAGS) & ~static_cast<DWORD>(ENABLE_QUICK_EDIT_MODE);
  SetConsoleMode(input_handle, mode);
}

int32_t next_input_byte() { return std::fgetc(stdin); }

int32_t read_plain_line(char* buffer, int32_t capacity) { return read_line_of_bytes(next_input_byte, buffer, capacity); }

constexpr ConsoleInputBinding win32_binding = {
    start, read_events, install_control_handler, window_is_foreground, virtual_key_down, enable_mouse,
    read_plain_line,
};

}  // namespace

const ConsoleInputBinding& console_input_binding() { return win32_binding; }

}  // namespace zv
