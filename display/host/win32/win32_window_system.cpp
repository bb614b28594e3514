// The window host's window-system table over user32.
#include <windows.h>

#include "display/host/win32/win32_host.h"
#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/window_system.h"

namespace zv {

namespace {

using MonitorFromPointFn = HMONITOR(WINAPI*)(POINT, DWORD);
using MonitorFromWindowFn = HMONITOR(WINAPI*)(HWND, DWORD);
using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

constexpr DWORD MONITOR_NEAREST = 2;

MonitorFromPointFn monitor_from_point_fn;
MonitorFromWindowFn monitor_from_window_fn;
TrackMouseEventFn track_mouse_event_fn;
PAINTSTRUCT paint_struct;  // the window thread paints one message at a time

void* module_function(const char* module, const char* name) {
  HMODULE handle = GetModuleHandleA(module);
  return handle ? reinterpret_cast<void*>(GetProcAddress(handle, name)) : nullptr;
}

HWND hwnd(void* window) { return static_cast<HWND>(window); }

int32_t os_version() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return 0;
  return static_cast<int32_t>((info.dwMajorVersion << 8) | (info.dwMinorVersion & 0xFF));
}

void* monitor_from_cursor() {
  POINT p{};
  GetCursorPos(&p);
  return monitor_from_point_fn(p, MONITOR_NEAREST);
}

void* monitor_from_window(void* window) { return monitor_from_window_fn(hwnd(window), MONITOR_NEAREST); }

uint32_t register_mouse_enter_message() { return RegisterWindowMessageA("ZV WM_MOUSEENTER emulation"); }

int32_t screensaver_active() {
  BOOL active = FALSE;
  SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
  return active ? 1 : 0;
}

void set_screensaver_active(int32_t active) {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
}

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

void register_class(WindowHost* host) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON icon = LoadIconA(instance, "ZV_PROGRAM_ICON");
  if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
  host->instance = instance;
  host->window_class.window_procedure = reinterpret_cast<void*>(host_window_procedure);
  host->window_class.instance = instance;
  host->window_class.icon = icon;
  host->window_class.cursor = LoadCursorA(nullptr, IDC_ARROW);
  WNDCLASSA wc{};
  wc.style = host->window_class.style;
  wc.lpfnWndProc = host_window_procedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = static_cast<HCURSOR>(host->window_class.cursor);
  wc.lpszClassName = host->class_name;
  RegisterClassA(&wc);  // a failure shows up as a failed window creation
}

void unregister_class(WindowHost* host) { UnregisterClassA(host->class_name, static_cast<HINSTANCE>(host->instance)); }

bool track_mouse_leave(void* window) {
  TRACKMOUSEEVENT request{};
  request.cbSize = sizeof request;
  request.dwFlags = TME_LEAVE;
  request.hwndTrack = hwnd(window);
  return track_mouse_event_fn(&request) != FALSE;
}

bool get_cursor_pos(int32_t* x, int32_t* y) {
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  *x = p.x;
  *y = p.y;
  return true;
}

void set_cursor_pos(int32_t x, int32_t y) { SetCursorPos(x, y); }
void set_cursor_shape(bool visible) { SetCursor(visible ? LoadCursorA(nullptr, IDC_ARROW) : nullptr); }

void post_set_cursor(void* window) {
  PostMessageA(hwnd(window), WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void clip_cursor(const ScreenRect* rect) {
  if (!rect) {
    ClipCursor(nullptr);
    return;
  }
  RECT r{rect->left, rect->top, rect->right, rect->bottom};
  ClipCursor(&r);
}

bool client_rect_on_screen(void* window, ScreenRect* rect) {
  RECT r{};
  if (!GetClientRect(hwnd(window), &r)) return false;
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  MapWindowPoints(hwnd(window), nullptr, corners, 2);
  *rect = ScreenRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  return true;
}

void client_to_screen(void* window, int32_t* x, int32_t* y) {
  POINT p{*x, *y};
  ClientToScreen(hwnd(window), &p);
  *x = p.x;
  *y = p.y;
}

bool window_rect(void* window, ScreenRect* rect) {
  RECT r{};
  if (!GetWindowRect(hwnd(window), &r)) return false;
  *rect = ScreenRect{r.left, r.top, r.right, r.bottom};
  return true;
}

void set_window_text(void* window, const char* text) { SetWindowTextA(hwnd(window), text); }

void move_window(void* window, int32_t x, int32_t y) {
  SetWindowPos(hwnd(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS);
}

void* window_from_point(int32_t x, int32_t y) { return WindowFromPoint(POINT{x, y}); }
void capture_mouse(void* window) { SetCapture(hwnd(window)); }
void release_capture() { ReleaseCapture(); }
bool has_capture(void* window) { return GetCapture() == hwnd(window); }
void set_timer(void* window, uint32_t id, uint32_t period_ms) { SetTimer(hwnd(window), id, period_ms, nullptr); }
void kill_timer(void* window, uint32_t id) { KillTimer(hwnd(window), id); }
void post_mouse_leave(void* window) { PostMessageA(hwnd(window), WM_MOUSELEAVE, 0, 0); }

void keyboard_state(uint8_t state[256]) {
  if (!GetKeyboardState(state)) ZeroMemory(state, 256);
}

int32_t vk_to_char(uint32_t virtual_key) { return static_cast<int32_t>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_CHAR)); }

int32_t to_ascii(uint32_t virtual_key, uint32_t scan_code, const uint8_t state[256], uint8_t out[2]) {
  WORD characters = 0;
  int result = ToAscii(virtual_key, scan_code, state, &characters, 0);
  out[0] = static_cast<uint8_t>(characters & 0xFF);
  out[1] = static_cast<uint8_t>(characters >> 8);
  return result;
}

void begin_paint(void* window) { BeginPaint(hwnd(window), &paint_struct); }
void end_paint(void* window) { EndPaint(hwnd(window), &paint_struct); }

int32_t button_bit(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return BUTTON_LEFT;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
      return BUTTON_RIGHT;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP:
      return BUTTON_MIDDLE;
    default:
      return HIWORD(wparam) == XBUTTON2 ? BUTTON_EXTRA2 : BUTTON_EXTRA1;
  }
}

// The platform-neutral form of a message; HM_OTHER for anything the host leaves alone.
HostMessage translate_message(UINT message, WPARAM wparam, LPARAM lparam) {
  HostMessage m{HM_OTHER, wparam, lparam};
  switch (message) {
    case WM_KEYDOWN: m.kind = HM_KEY_DOWN; break;
    case WM_KEYUP: m.kind = HM_KEY_UP; break;
    case WM_SYSKEYDOWN: m.kind = HM_SYSTEM_KEY_DOWN; break;
    case WM_CHAR: m.kind = HM_CHARACTER; break;
    case WM_MOUSEMOVE: m.kind = HM_MOUSE_MOVE; break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_XBUTTONDOWN:
      m.kind = HM_BUTTON_DOWN;
      m.wparam = button_bit(message, wparam);
      break;
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: case WM_XBUTTONDBLCLK:
      m.kind = HM_BUTTON_DOUBLE;
      m.wparam = button_bit(message, wparam);
      break;
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: case WM_XBUTTONUP:
      m.kind = HM_BUTTON_UP;
      m.wparam = button_bit(message, wparam);
      break;
    case WM_MOUSEWHEEL: m.kind = HM_WHEEL; break;
    case WM_MOUSEHWHEEL: m.kind = HM_HWHEEL; break;
    case WM_MOUSELEAVE: m.kind = HM_MOUSE_LEAVE; break;
    case WM_SETCURSOR: m.kind = HM_SET_CURSOR; break;
    case WM_ACTIVATE: m.kind = HM_ACTIVATE; break;
    case WM_CLOSE: m.kind = HM_CLOSE; break;
    case WM_PAINT: m.kind = HM_PAINT; break;
    case WM_DISPLAYCHANGE: m.kind = HM_DISPLAY_CHANGE; break;
    case WM_MOVING: m.kind = HM_MOVING; break;
    case WM_SIZE: m.kind = HM_SIZE; break;
    case WM_TIMER: m.kind = HM_TIMER; break;
    default:
      if (message != 0 && message == host_state.mouse_enter_message) m.kind = HM_MOUSE_ENTER;
      break;
  }
  return m;
}

LRESULT CALLBACK host_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HostMessage m = translate_message(message, wparam, lparam);
  if (m.kind == HM_OTHER) return DefWindowProcA(window, message, wparam, lparam);
  HostResult result = handle_window_message(window, m);
  if (result.call_default) return DefWindowProcA(window, message, wparam, lparam);
  return static_cast<LRESULT>(result.value);
}

WindowSystem make_table() {
  monitor_from_point_fn = reinterpret_cast<MonitorFromPointFn>(module_function("USER32", "MonitorFromPoint"));
  monitor_from_window_fn = reinterpret_cast<MonitorFromWindowFn>(module_function("USER32", "MonitorFromWindow"));
  track_mouse_event_fn = reinterpret_cast<TrackMouseEventFn>(user32_function("TrackMouseEvent"));
  WindowSystem s{};
  s.os_version = os_version;
  s.monitor_from_cursor = monitor_from_point_fn ? monitor_from_cursor : nullptr;
  s.monitor_from_window = monitor_from_window_fn ? monitor_from_window : nullptr;
  s.register_mouse_enter_message = register_mouse_enter_message;
  s.screensaver_active = screensaver_active;
  s.set_screensaver_active = set_screensaver_active;
  s.register_class = register_class;
  s.unregister_class = unregister_class;
  s.track_mouse_leave = track_mouse_event_fn ? track_mouse_leave : nullptr;
  s.get_cursor_pos = get_cursor_pos;
  s.set_cursor_pos = set_cursor_pos;
  s.set_cursor_shape = set_cursor_shape;
  s.post_set_cursor = post_set_cursor;
  s.clip_cursor = clip_cursor;
  s.client_rect_on_screen = client_rect_on_screen;
  s.client_to_screen = client_to_screen;
  s.window_rect = window_rect;
  s.set_window_text = set_window_text;
  s.move_window = move_window;
  s.window_from_point = window_from_point;
  s.capture_mouse = capture_mouse;
  s.release_capture = release_capture;
  s.has_capture = has_capture;
  s.set_timer = set_timer;
  s.kill_timer = kill_timer;
  s.post_mouse_leave = post_mouse_leave;
  s.keyboard_state = keyboard_state;
  s.vk_to_char = vk_to_char;
  s.to_ascii = to_ascii;
  s.begin_paint = begin_paint;
  s.end_paint = end_paint;
  return s;
}

}  // namespace

void* user32_function(const char* name) { return module_function("user32.dll", name); }

const WindowSystem* win32_window_system() {
  static const WindowSystem table = make_table();
  return &table;
}

int32_t create_host_window(uint32_t style, uint32_t extended_style, int32_t x, int32_t y, int32_t width,
                           int32_t height) {
  HWND window = CreateWindowExA(extended_style, window_host.class_name, window_host.title, style, x, y, width, height,
                                nullptr, nullptr, static_cast<HINSTANCE>(window_host.instance), nullptr);
  window_host.window = window;
  if (!window) return -1;
  if (window_host.flags & SCREEN_ALWAYS_ON_TOP) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOSENDCHANGING);
  }
  SetForegroundWindow(window);
  return 0;
}

void pump_messages() {
  MSG message;
  // The handle is read again each time: a switch re-creates the window inside the dispatch.
  while (window_host.window && PeekMessageA(&message, static_cast<HWND>(window_host.window), 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  pump_cover_messages();
}

}  // namespace zv
