// The GDI driver: its window thread sends the band of changed rows to the window every 10 ms.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/blit/blit.h"
#include "display/gdi/gdi_driver.h"
#include "display/gdi/gdi_rules.h"
#include "display/host/change_filter.h"
#include "display/host/key_polling.h"
#include "display/host/win32/win32_host.h"
#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "display/mode_list.h"
#include "platform/memory.h"

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
  SpanBlitFunction convert;  // the span form of window_host.blit
  ChangeFilter filter;       // only what changed is converted and sent
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

struct Transfer {
  HDC dc;
  const uint8_t* bits;
  int32_t stride;
};

// Sends one changed rectangle of display rows from the rows the update shows.
void send_rect(const PictureRect& r, void* context) {
  const Transfer& t = *static_cast<const Transfer*>(context);
  gdi.bitmap->header.biHeight = -r.height;  // a top-down bitmap of just these rows
  SetDIBitsToDevice(t.dc, r.x, r.y, static_cast<DWORD>(r.width), static_cast<DWORD>(r.height), r.x, 0, 0,
                    static_cast<UINT>(r.height), t.bits + static_cast<intptr_t>(r.y) * t.stride,
                    reinterpret_cast<BITMAPINFO*>(gdi.bitmap), DIB_RGB_COLORS);
  if (window_host.os_version < 0x0500) {
    RECT area{r.x, r.y, r.x + r.width, r.y + r.height};
    InvalidateRect(host_window(), &area, FALSE);
  }
}

// One update: palette, what changed of the picture, the dirty flags, the held keys.
void update(GraphicsState* gs) {
  HDC dc = GetDC(host_window());
  if (window_host.palette_dirty && gdi.bitmap) apply_palette(dc);
  const int32_t repeat = std::max(gs->scanline_size, 1);
  Transfer transfer{dc, nullptr, 0};
  if (shown_rows(gs, &transfer.bits, &transfer.stride)) {
    if (send_changes(&gdi.filter, *gs, ChangeTarget{gdi.convert, gdi.buffer, gdi.buffer_pitch, send_rect, &transfer}) > 0)
      host_picture_shown();
  }
  ReleaseDC(host_window(), dc);
  if (gs->dirty) std::memset(gs->dirty, 0, static_cast<size_t>(gs->height) * repeat);
  poll_key_state();
}

int32_t enter_display_mode() {
  if (!win32_enter_display_mode(window_host.width, window_host.height, window_host.depth, window_host.refresh_rate)) {
    return -1;
  }
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
  if (flags & SCREEN_FULLSCREEN) cover_other_monitors(host_window());
  if (flags & SCREEN_SHAPED_WINDOW) {
    auto set_layered = reinterpret_cast<SetLayeredWindowAttributesFn>(user32_function("SetLayeredWindowAttributes"));
    if (!set_layered) return -1;
    set_layered(host_window(), window_host.depth == 8 ? 0 : SHAPE_KEY_TRUE_COLOUR, 0, LWA_COLORKEY);
  }
  return 0;
}

int32_t build_bitmap_description() {
  gdi.bitmap = static_cast<BitmapDescription*>(platform::mem_calloc(1, sizeof(BitmapDescription)));
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
  gdi.convert = gdi_span_conversion(c.kind, window_host.depth);
  if (!change_filter_open(&gdi.filter, *gs, true)) return -1;
  if (c.kind == GDI_DIRECT) return 0;
  if (!c.blit || !gdi.convert) return -1;
  gdi.buffer_pitch = c.buffer_pitch;
  size_t row_bytes = static_cast<size_t>(std::max(c.buffer_row_bytes, c.buffer_pitch));
  gdi.buffer = static_cast<uint8_t*>(platform::mem_calloc(static_cast<size_t>(window_host.height), row_bytes));
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
  gdi.convert = nullptr;
  change_filter_close(&gdi.filter);
  if (gdi.display_mode_changed) {
    win32_restore_display_mode();
    gdi.display_mode_changed = false;
  }
  remove_monitor_covers();
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

void gdi_thread_main(platform::Event* start_event) { host_window_thread(start_event, update, pump_messages); }

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
  return collect_modes(depth, count, win32_display_mode, gdi_mode_matches);
}

}  // namespace

const DisplayDriver gdi_driver = {
    "GDI",          gdi_open_display,   host_close,        host_lock,        host_unlock,
    host_set_palette_entry, host_wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, gdi_list_modes,   nullptr,           nullptr,
};

}  // namespace zv
