// The DirectX driver's open and close on the window thread: the DirectDraw object on the
// window's monitor, the window, the display mode or the clipper, the surfaces, the
// conversion for the primary surface's pixel format, and the keyboard.
#include <cstdio>
#include <cstring>

#include "display/blit/blit.h"
#include "display/driver.h"
#include "display/directdraw/ddraw_rules.h"
#include "display/directdraw/win32/ddraw_state.h"
#include "display/host/win32/win32_host.h"
#include "display/host/window_host.h"

namespace zv {

DdrawState ddraw;

namespace {

constexpr DWORD EXCLUSIVE_FULL_SCREEN = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT;  // 0x13
constexpr DWORD NORMAL_LEVEL = DDSCL_NORMAL;                                                  // 8

struct DeviceSearch {
  HMONITOR monitor;
  GUID identifier;
  bool found;
};

BOOL WINAPI take_device_on_monitor(GUID* identifier, LPSTR, LPSTR, LPVOID context, HMONITOR monitor) {
  auto* search = static_cast<DeviceSearch*>(context);
  if (!identifier || monitor != search->monitor) return TRUE;
  search->identifier = *identifier;
  search->found = true;
  return FALSE;
}

bool full_screen() { return (window_host.flags & SCREEN_FULLSCREEN) != 0; }
HWND host_window() { return static_cast<HWND>(window_host.window); }

int32_t create_objects(const DdrawFunctions& f) {
  DeviceSearch search{static_cast<HMONITOR>(window_host.monitor), {}, false};
  if (full_screen() && search.monitor && f.direct_draw_enumerate_ex) {
    f.direct_draw_enumerate_ex(take_device_on_monitor, &search, DDENUM_ATTACHEDSECONDARYDEVICES);
  }
  if (!f.direct_draw_create) return -1;
  IDirectDraw* first = nullptr;
  if (f.direct_draw_create(search.found ? &search.identifier : nullptr, &first, nullptr) != DD_OK || !first) return -1;
  HRESULT result = first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw.direct_draw));
  first->Release();
  if (result != DD_OK || !ddraw.direct_draw) {
    ddraw.direct_draw = nullptr;
    return -1;
  }
  if (!f.direct_input_create) return -1;
  if (f.direct_input_create(GetModuleHandleA(nullptr), 0x0300, &ddraw.direct_input, nullptr) != DI_OK) return -1;
  return ddraw.direct_input ? 0 : -1;
}

int32_t set_mode(void*, int32_t width, int32_t height, int32_t bits, int32_t refresh_rate, int32_t vga_flag) {
  return ddraw.direct_draw->SetDisplayMode(width, height, bits, refresh_rate, vga_flag) == DD_OK ? 0 : -1;
}

int32_t open_full_screen() {
  if (create_host_window(WS_POPUP | WS_VISIBLE, 0, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) !=
      0) {
    return -1;
  }
  if (ddraw.direct_draw->SetCooperativeLevel(host_window(), EXCLUSIVE_FULL_SCREEN) != DD_OK) return -1;
  const int32_t h = ddraw_search_mode(window_host.width, window_host.height, window_host.depth,
                                      window_host.refresh_rate, set_mode, nullptr);
  if (h < 0) return -1;
  ddraw.mode_height = h;
  ddraw.row_offset = ddraw_row_offset(h, window_host.height);
  // The other monitors go dark too, measured in the mode just set.
  cover_other_monitors(host_window());
  return 0;
}

int32_t open_window() {
  DWORD style = WS_POPUP | WS_VISIBLE;
  if (!(window_host.flags & SCREEN_NO_FRAME)) {
    style = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    if (!(window_host.flags & SCREEN_NO_SWITCH)) style |= WS_MAXIMIZEBOX;
  }
  RECT outer{0, 0, window_host.width, window_host.height};
  AdjustWindowRect(&outer, style, FALSE);
  if (create_host_window(style, 0, ddraw.window_left, ddraw.window_top, outer.right - outer.left,
                         outer.bottom - outer.top) != 0) {
    return -1;
  }
  if (ddraw.direct_draw->SetCooperativeLevel(host_window(), NORMAL_LEVEL) != DD_OK) return -1;
  if (ddraw.direct_draw->CreateClipper(0, &ddraw.clipper, nullptr) != DD_OK || !ddraw.clipper) return -1;
  if (ddraw.clipper->SetHWnd(0, host_window()) != DD_OK) return -1;
  ddraw.row_offset = 0;
  ddraw.mode_height = 0;
  return 0;
}

int32_t create_surfaces() {
  DDSURFACEDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  if (ddraw.direct_draw->CreateSurface(&description, &ddraw.primary, nullptr) != DD_OK || !ddraw.primary) return -1;
  if (full_screen()) {
    ddraw.back = ddraw.primary;
    return 0;
  }
  if (ddraw.primary->SetClipper(ddraw.clipper) != DD_OK) return -1;
  description = DDSURFACEDESC{};
  description.dwSize = sizeof description;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
  description.dwWidth = static_cast<DWORD>(window_host.width);
  description.dwHeight = static_cast<DWORD>(window_host.height);
  if (ddraw.direct_draw->CreateSurface(&description, &ddraw.back, nullptr) != DD_OK || !ddraw.back) return -1;
  return 0;
}

int32_t create_palette() {
  PALETTEENTRY entries[256];
  static_assert(sizeof entries == sizeof window_host.palette);
  std::memcpy(entries, window_host.palette, sizeof entries);
  if (ddraw.direct_draw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &ddraw.palette, nullptr) != DD_OK ||
      !ddraw.palette) {
    return -1;
  }
  if (ddraw.primary->SetPalette(ddraw.palette) != DD_OK) return -1;
  window_host.palette_dirty = 0;
  return 0;
}

// The conversion for the primary surface's pixel format.
int32_t choose_conversion() {
  DDPIXELFORMAT format{};
  format.dwSize = sizeof format;
  if (ddraw.primary->GetPixelFormat(&format) != DD_OK || !(format.dwFlags & DDPF_RGB)) return -1;
  ddraw.surface_bits = static_cast<int32_t>(format.dwRGBBitCount);
  if (ddraw.surface_bits == 8 && create_palette() != 0) return -1;
  const int32_t type = ddraw_display_type(format.dwRGBBitCount, format.dwGBitMask);
  window_host.blit = choose_blitter(type, ddraw_red_low(format.dwRGBBitCount, format.dwRBitMask));
  return window_host.blit ? 0 : -1;
}

void report_open() {
  if (!display_verbose()) return;
  if (full_screen()) {
    std::fprintf(stderr, "zvgfx: DirectX: full screen, display mode %dx%dx%d, picture %dx%d at row %d\n",
                 window_host.width, ddraw.mode_height, ddraw.surface_bits, window_host.width, window_host.height,
                 ddraw.row_offset);
  } else {
    std::fprintf(stderr, "zvgfx: DirectX: window %dx%d on a %d-bit display\n", window_host.width, window_host.height,
                 ddraw.surface_bits);
  }
}

}  // namespace

int32_t ddraw_open_hook() {
  const DdrawState kept = ddraw;
  ddraw = DdrawState{};
  ddraw.vblank_event = kept.vblank_event;
  ddraw.window_left = kept.window_left;
  ddraw.window_top = kept.window_top;
  window_host.blit = nullptr;
  DdrawFunctions functions;
  if (!ddraw_load_libraries(&functions)) return -1;
  if (create_objects(functions) != 0) return -1;
  if ((full_screen() ? open_full_screen() : open_window()) != 0) return -1;
  if (create_surfaces() != 0) return -1;
  if (choose_conversion() != 0) return -1;
  if (GraphicsState* gs = graphics_state()) {
    DWORD frequency = 0;
    if (ddraw.direct_draw->GetMonitorFrequency(&frequency) == DD_OK) gs->refresh_rate = static_cast<int32_t>(frequency);
  }
  if (!ddraw.vblank_event) ddraw.vblank_event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!ddraw.vblank_event) return -1;
  if (ddraw_open_keyboard() != 0) return -1;
  report_open();
  return 0;
}

void ddraw_close_hook() {
  if (!full_screen() && window_host.window) {
    RECT r{};
    if (GetWindowRect(host_window(), &r)) {
      ddraw.window_left = r.left;
      ddraw.window_top = r.top;
    }
  }
  ddraw_close_keyboard();
  if (ddraw.direct_draw) {
    if (full_screen()) {
      if (ddraw.primary) {
        DDBLTFX effects{};
        effects.dwSize = sizeof effects;
        effects.dwFillColor = 0;
        ddraw.primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
      }
      ddraw.back = nullptr;  // the primary itself
      release(ddraw.primary);
    } else {
      release(ddraw.primary);
      release(ddraw.back);
    }
    release(ddraw.palette);
    release(ddraw.clipper);
    if (full_screen()) {
      ddraw.direct_draw->RestoreDisplayMode();
      ddraw.direct_draw->SetCooperativeLevel(host_window(), NORMAL_LEVEL);
    }
    release(ddraw.direct_draw);
  }
  window_host.blit = nullptr;
  remove_monitor_covers();
  if (window_host.window) {
    DestroyWindow(host_window());
    window_host.window = nullptr;
  }
  ddraw_free_libraries();
}

}  // namespace zv
