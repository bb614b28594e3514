// Black windows over the monitors beside the full-screen window. The window thread
// makes, pumps and removes them with its own window. They never take activation, so
// keys and the mouse still go to the saver's window.
#include <windows.h>

#include "display/host/monitor_covers.h"
#include "display/host/win32/win32_host.h"

namespace zv {

namespace {

using EnumDisplayMonitorsFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);

constexpr char COVER_CLASS[] = "zvgfxcover";
constexpr DWORD NO_ACTIVATE = 0x08000000;  // WS_EX_NOACTIVATE, from Windows 2000 on

struct MonitorList {
  ScreenRect rects[MAX_MONITOR_COVERS + 1];
  int32_t count;
};

HWND covers[MAX_MONITOR_COVERS];
int32_t cover_count = 0;

BOOL CALLBACK add_monitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  auto* list = reinterpret_cast<MonitorList*>(data);
  if (list->count >= MAX_MONITOR_COVERS + 1) return FALSE;
  list->rects[list->count++] = ScreenRect{rect->left, rect->top, rect->right, rect->bottom};
  return TRUE;
}

bool register_cover_class() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = COVER_CLASS;
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

// Systems without the monitor functions have one monitor and nothing to cover.
void cover_other_monitors(void* window) {
  remove_monitor_covers();
  auto enum_monitors = reinterpret_cast<EnumDisplayMonitorsFn>(user32_function("EnumDisplayMonitors"));
  RECT shown{};
  if (!enum_monitors || !GetWindowRect(static_cast<HWND>(window), &shown)) return;
  MonitorList list{};
  enum_monitors(nullptr, nullptr, add_monitor, reinterpret_cast<LPARAM>(&list));
  ScreenRect rects[MAX_MONITOR_COVERS];
  const int32_t n =
      monitors_to_cover(list.rects, list.count, ScreenRect{shown.left, shown.top, shown.right, shown.bottom}, rects);
  if (n == 0 || !register_cover_class()) return;
  for (int32_t i = 0; i < n; ++i) {
    const ScreenRect& r = rects[i];
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | NO_ACTIVATE, COVER_CLASS, "", WS_POPUP, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!cover) continue;
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    covers[cover_count++] = cover;
  }
}

void pump_cover_messages() {
  MSG message;
  for (int32_t i = 0; i < cover_count; ++i) {
    while (PeekMessageA(&message, covers[i], 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

void remove_monitor_covers() {
  if (cover_count == 0) return;
  for (int32_t i = 0; i < cover_count; ++i) DestroyWindow(covers[i]);
  cover_count = 0;
  UnregisterClassA(COVER_CLASS, GetModuleHandleA(nullptr));
}

}  // namespace zv
