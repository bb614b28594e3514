// The GDI driver: its window thread sends the band of changed rows to the window every 10 ms.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/blit/blit.h"
#include "display/gdi/gdi_driver.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/key_polling.h"
#include "display/host/win32/win32_host.h"
#include "display/host/window_system.h"
#include "display/host/window_host.h"

namespace zv {

namespace {

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

constexpr COLORREF SHAPE_KEY_TRUE_COLOUR = 0xFF00FF;

struct BitmapDescription {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

struct GdiState {
  BitmapDescription* bitmap;
  HPALETTE palette;
  uint8_t* buffer;
  int32_t buffer_pitch;
  bool display_mode_changed;
};

GdiState gdi;

HWND host_window() { return static_cast<HWND>(window_host.window); }

// Sends count display rows starting at first_row, taken from bits at stride bytes per row.
void transfer_rows(HDC dc, const uint8_t* bits, int32_t stride, int32_t first_row, int32_t count) {
  gdi.bitmap->header.biHeight = -count;  // a top-down bitmap of just these rows
  SetDIBitsToDevice(dc, 0, first_row, static_cast<DWORD>(window_host.width), static_cast<DWORD>(count), 0, 0, 0,
                    static_cast<UINT>(count), bits + static_cast<intptr_t>(first_row) * stride,
                    reinterpret_cast<BITMAPINFO*>(gdi.bitmap), DIB_RGB_COLORS);
}

// Where the shown rows come from: the conversion buffer, or the visible page itself.
bool shown_rows(const GraphicsState* gs, const uint8_t** bits, int32_t* stride) {
  if (window_host.blit) {
    *bits = gdi.buffer;
    *stride = gdi.buffer_pitch;
  } else {
    *bits = gs ? gs->visible_buffer : nullptr;
    *stride = gs ? gs->pitch : 0;
  }
  return *bits != nullptr && gdi.bitmap != nullptr;
}

void select_palette(HDC dc) {
  if (!gdi.palette) return;
  SelectPalette(dc, gdi.palette, FALSE);
  RealizePalette(dc);
}

void apply_palette(HDC dc) {
  for (int32_t i = 0; i < 256; ++i) {
    const HostPaletteEntry& e = window_host.palette[i];
    gdi.bitmap->colours[i] = RGBQUAD{e.blue, e.green, e.red, 0};
  }
  if (gdi.palette) SetPaletteEntries(gdi.palette, 0, 256, reinterpret_cast<const PALETTEENTRY*>(window_host.palette));
  select_palette(dc);
  window_host.palette_dirty = 0;
}

// One update: palette, the band of changed rows, the dirty flags, the held keys.
void update(GraphicsState* gs) {
  HDC dc = GetDC(host_window());
  if (window_host.palette_dirty && gdi.bitmap) apply_palette(dc);
  int32_t first = 0;
  int32_t last = 0;
  const int32_t repeat = std::max(gs->scanline_size, 1);
  const uint8_t* bits = nullptr;
  int32_t stride = 0;
  if (gdi_find_band(gs->dirty, gs->height, &first, &last) && shown_rows(gs, &bits, &stride)) {
    if (window_host.blit) window_host.blit(gdi.buffer, gdi.buffer_pitch);
    int32_t top = first * repeat;
    int32_t count = (last + 1) * repeat - top;
    transfer_rows(dc, bits, stride, top, count);
    if (window_host.os_version < 0x0500) {
      RECT band{0, top, window_host.width, top + count};
      InvalidateRect(host_window(), &band, FALSE);
    }
  }
  ReleaseDC(host_window(), dc);
  if (gs->dirty) std::memset(gs->dirty, 0, static_cast<size_t>(gs->height) * repeat);
  if (window_host.active && gs->key_state) {
    uint8_t keyboard[256] = {};
    if (GetKeyboardState(keyboard)) key_state_from_keyboard(keyboard, gs->key_state);
  }
}

int32_t enter_display_mode() {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(window_host.width);
  mode.dmPelsHeight = static_cast<DWORD>(window_host.height);
  mode.dmBitsPerPel = static_cast<DWORD>(window_host.depth);
  mode.dmDisplayFrequency = static_cast<DWORD>(window_host.refresh_rate);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return -1;
  gdi.display_mode_changed = true;
  return 0;
}

int32_t create_window() {
  DWORD style = 0;
  DWORD extended = 0;
  const int32_t flags = window_host.flags;
  if (flags & SCREEN_FULLSCREEN) {
    if (enter_display_mode() != 0) return -1;
    style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  } else {
    style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (flags & SCREEN_NO_SWITCH) style &= ~WS_MAXIMIZEBOX;
    if (flags & SCREEN_NO_FRAME) style = WS_POPUP;
    if (flags & SCREEN_SHAPED_WINDOW) {
      if (window_host.os_version < 0x0500) return -1;
      extended = WS_EX_LAYERED;
    }
  }
  int32_t x = 0, y = 0, width = window_host.width, height = window_host.height;
  if (!(flags & SCREEN_FULLSCREEN)) {
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, style, FALSE);
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
    x = (GetSystemMetrics(SM_CXSCREEN) - width) >> 1;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) >> 1;
  }
  if (create_host_window(style | WS_VISIBLE, extended, x, y, width, height) != 0) return -1;
  if (flags & SCREEN_SHAPED_WINDOW) {
    auto set_layered = reinterpret_cast<SetLayeredWindowAttributesFn>(user32_function("SetLayeredWindowAttributes"));
    if (!set_layered) return -1;
    set_layered(host_window(), window_host.depth == 8 ? 0 : SHAPE_KEY_TRUE_COLOUR, 0, LWA_COLORKEY);
  }
  return 0;
}

int32_t build_bitmap_description() {
  gdi.bitmap = static_cast<BitmapDescription*>(std::calloc(1, sizeof(BitmapDescription)));
  if (!gdi.bitmap) return -1;
  BITMAPINFOHEADER& h = gdi.bitmap->header;
  h.biSize = sizeof(BITMAPINFOHEADER);
  h.biWidth = window_host.width;
  h.biHeight = -window_host.height;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(window_host.depth);
  h.biCompression = BI_RGB;
  h.biClrUsed = 256;
  return 0;
}

int32_t choose_conversion() {
  const GraphicsState* gs = graphics_state();
  if (!gs) return -1;
  GdiConversion c =
      gdi_choose_conversion(window_host.flags, window_host.depth, gs->width, gs->pitch, gs->scanline_size, choose_blitter);
  window_host.blit = c.blit;
  if (c.kind == GDI_DIRECT) return 0;
  if (!c.blit) return -1;
  gdi.buffer_pitch = c.buffer_pitch;
  size_t row_bytes = static_cast<size_t>(std::max(c.buffer_row_bytes, c.buffer_pitch));
  gdi.buffer = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(window_host.height), row_bytes));
  return gdi.buffer ? 0 : -1;
}

HPALETTE create_palette() {
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } logical{0x300, 256, {}};
  std::memcpy(logical.entries, window_host.palette, sizeof logical.entries);
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
}

int32_t gdi_open_hook() {
  gdi.bitmap = nullptr;
  gdi.buffer = nullptr;
  gdi.palette = nullptr;
  window_host.blit = nullptr;
  if (create_window() != 0) return -1;
  if (build_bitmap_description() != 0) return -1;
  if (choose_conversion() != 0) return -1;
  if (GraphicsState* gs = graphics_state()) {
    HDC dc = GetDC(host_window());
    gs->refresh_rate = GetDeviceCaps(dc, VREFRESH);
    ReleaseDC(host_window(), dc);
  }
  gdi.palette = create_palette();
  return 0;
}

// Also undoes a display mode change whose window could not be made.
void gdi_close_hook() {
  std::free(gdi.buffer);
  gdi.buffer = nullptr;
  std::free(gdi.bitmap);
  gdi.bitmap = nullptr;
  window_host.blit = nullptr;
  if (gdi.display_mode_changed) {
    ChangeDisplaySettingsA(nullptr, 0);
    gdi.display_mode_changed = false;
  }
  if (window_host.window) {
    DestroyWindow(host_window());
    window_host.window = nullptr;
  }
  if (gdi.palette) {
    DeleteObject(gdi.palette);
    gdi.palette = nullptr;
  }
}

// Redraws the whole window from what the last update converted.
void gdi_paint_hook() {
  const uint8_t* bits = nullptr;
  int32_t stride = 0;
  if (!window_host.window || !shown_rows(graphics_state(), &bits, &stride)) return;
  HDC dc = GetDC(host_window());
  select_palette(dc);
  transfer_rows(dc, bits, stride, 0, window_host.height);
  InvalidateRect(host_window(), nullptr, FALSE);
  ReleaseDC(host_window(), dc);
}

void gdi_thread_main(platform::Event* start_event) {
  if (gdi_open_hook() != 0) {
    gdi_close_hook();
    return;
  }
  host_signal_started(start_event);
  window_host.active = 1;
  host_update_loop(update, pump_messages);
  gdi_close_hook();
}

int32_t gdi_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                         int32_t flags) {
  window_host = WindowHost{};
  if (flags & SCREEN_OPENGL) return -1;
  window_host.driver_open_hook = gdi_open_hook;
  window_host.driver_close_hook = gdi_close_hook;
  window_host.driver_paint_hook = gdi_paint_hook;
  window_host.window_thread_main = gdi_thread_main;
  set_window_system(win32_window_system());
  return host_open(title, width, height, std::max(depth, 8), refresh_rate, flags);
}

uint32_t* gdi_list_modes(int32_t depth, int32_t* count) {
  uint32_t* modes = nullptr;
  int32_t n = 0;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (!gdi_mode_matches(depth, static_cast<int32_t>(mode.dmBitsPerPel))) continue;
    auto* grown = static_cast<uint32_t*>(std::realloc(modes, sizeof(uint32_t) * (n + 1)));
    if (!grown) break;
    modes = grown;
    modes[n++] = (mode.dmPelsWidth << 16) | (mode.dmPelsHeight & 0xFFFF);
  }
  if (count) *count = n;
  return modes;
}

}  // namespace

const DisplayDriver gdi_driver = {
    "GDI",          gdi_open_display,   host_close,        host_lock,        host_unlock,
    host_set_palette_entry, host_wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, gdi_list_modes,   nullptr,           nullptr,
};

}  // namespace zv
