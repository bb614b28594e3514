// The DirectX driver: its window thread converts the changed rows into the locked back
// surface every 10 ms, copies it to the window (in a window), reads the keyboard, and
// brings lost surfaces back, rebuilding itself when the display mode was changed.
#include "display/directdraw/ddraw_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/directdraw/ddraw_rules.h"
#include "display/directdraw/win32/ddraw_state.h"
#include "display/host/win32/win32_host.h"
#include "display/host/window_host.h"
#include "display/host/window_system.h"
#include "platform/memory.h"

namespace zv {

namespace {

constexpr DWORD VBLANK_WAIT_MS = 20;
using FlashWindowExFn = BOOL(WINAPI*)(PFLASHWINFO);

bool full_screen() { return (window_host.flags & SCREEN_FULLSCREEN) != 0; }

bool primary_lost(void*) {
  return ddraw.primary && static_cast<uint32_t>(ddraw.primary->IsLost()) == DDRAW_SURFACE_LOST;
}
uint32_t restore_back(void*) {
  return ddraw.back && ddraw.back != ddraw.primary ? static_cast<uint32_t>(ddraw.back->Restore()) : DDRAW_OK;
}
uint32_t restore_primary(void*) { return ddraw.primary ? static_cast<uint32_t>(ddraw.primary->Restore()) : DDRAW_OK; }
bool still_running(void*) { return host_running(); }

void stop_flashing(void*) {
  static const auto flash = reinterpret_cast<FlashWindowExFn>(user32_function("FlashWindowEx"));
  if (!flash || !window_host.window) return;
  FLASHWINFO info{sizeof(FLASHWINFO), static_cast<HWND>(window_host.window), FLASHW_STOP, 0, 0};
  flash(&info);
}

bool rebuild(void*) {
  DdrawRebuild r{nullptr, [](void*) { ddraw_close_hook(); }, [](void*) { return ddraw_open_hook(); },
                 [](int32_t ms) { Sleep(static_cast<DWORD>(ms)); }, still_running, stop_flashing};
  return ddraw_rebuild(r);
}

const DdrawRecovery recovery{nullptr, primary_lost, restore_back, restore_primary, rebuild, still_running};

uint32_t lock_back(void* description) {
  if (!ddraw.back) return DDRAW_OK + 1;
  return static_cast<uint32_t>(
      ddraw.back->Lock(nullptr, static_cast<DDSURFACEDESC*>(description), DDLOCK_WAIT, nullptr));
}

uint32_t copy_to_window(void*) {
  if (!ddraw.primary || !ddraw.back || !window_host.window) return DDRAW_OK;
  HWND window = static_cast<HWND>(window_host.window);
  RECT source{0, 0, window_host.width, window_host.height};
  RECT client{};
  GetClientRect(window, &client);
  POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
  ClientToScreen(window, &corners[0]);
  ClientToScreen(window, &corners[1]);
  RECT destination{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  return static_cast<uint32_t>(ddraw.primary->Blt(&destination, ddraw.back, &source, DDBLT_WAIT, nullptr));
}

// Also the paint hook: in a window the whole picture goes to the client area, stretched
// when that has another size. In full screen the picture already is on the display.
void present() {
  if (full_screen()) return;
  ddraw_with_recovery(recovery, copy_to_window, nullptr);
}

void apply_palette() {
  if (!window_host.palette_dirty || !ddraw.palette) return;
  ddraw.palette->SetEntries(0, 0, 256, reinterpret_cast<PALETTEENTRY*>(window_host.palette));
  window_host.palette_dirty = 0;
}

void update(GraphicsState* gs) {
  if (InterlockedExchange(&ddraw.vblank_pending, 0)) WaitForSingleObject(ddraw.vblank_event, VBLANK_WAIT_MS);
  if (!window_host.active && full_screen()) return;
  apply_palette();
  DDSURFACEDESC surface{};
  surface.dwSize = sizeof surface;
  // The recovery may have rebuilt the driver: the surfaces are read again after it.
  if (ddraw_with_recovery(recovery, lock_back, &surface) == DDRAW_OK && ddraw.back) {
    auto* rows = static_cast<uint8_t*>(surface.lpSurface);
    const int32_t pitch = static_cast<int32_t>(surface.lPitch);
    if (rows && window_host.blit) window_host.blit(rows + static_cast<intptr_t>(pitch) * ddraw.row_offset, pitch);
    ddraw.back->Unlock(nullptr);
    if (gs->dirty) {
      const size_t rows_shown = static_cast<size_t>(window_host.height);
      if (std::memchr(gs->dirty, 1, rows_shown)) host_picture_shown();
      std::memset(gs->dirty, 0, rows_shown);
    }
  }
  present();
  if (window_host.active) ddraw_read_keyboard(gs->key_state);
}

// DirectX pauses at the top of its cycle, so a vertical-blank wait asked for during the
// pause is seen at once.
void ddraw_thread_main(platform::Event* start_event) {
  host_window_thread(start_event, update, pump_messages, HOST_PAUSE_FIRST);
}

int32_t ddraw_open_display(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                           int32_t flags) {
  window_host = WindowHost{};
  if (flags & (SCREEN_OPENGL | SCREEN_SHAPED_WINDOW)) return -1;
  window_host.driver_open_hook = ddraw_open_hook;
  window_host.driver_close_hook = ddraw_close_hook;
  window_host.driver_paint_hook = present;
  window_host.window_thread_main = ddraw_thread_main;
  ddraw.window_left = (GetSystemMetrics(SM_CXSCREEN) - width) >> 1;
  ddraw.window_top = (GetSystemMetrics(SM_CYSCREEN) - height) >> 1;
  set_window_system(win32_window_system());
  return host_open(title, width, height, std::max(depth, 8), refresh_rate, flags);
}

// The DirectDraw object of the open display, with a reference of the caller's own: the
// window thread may release its reference while the caller waits on the object.
IDirectDraw2* borrow_direct_draw() {
  if (!window_host.running || !host_state.thread) return nullptr;
  host_lock();
  IDirectDraw2* object = ddraw.direct_draw;
  if (object) object->AddRef();
  host_unlock();
  return object;
}

void ddraw_wait_vblank() {
  if (!ddraw.vblank_event) return;
  ResetEvent(ddraw.vblank_event);
  host_lock();
  InterlockedExchange(&ddraw.vblank_pending, 1);
  host_unlock();
  if (IDirectDraw2* object = borrow_direct_draw()) {
    object->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    object->Release();
  }
  SetEvent(ddraw.vblank_event);
}

struct ModeList {
  int32_t depth;
  uint32_t* modes;
  int32_t count;
};

HRESULT WINAPI add_mode(DDSURFACEDESC* mode, void* context) {
  auto* list = static_cast<ModeList*>(context);
  const DDPIXELFORMAT& format = mode->ddpfPixelFormat;
  if (ddraw_display_type(format.dwRGBBitCount, format.dwGBitMask) != list->depth) return DDENUMRET_OK;
  auto* grown = static_cast<uint32_t*>(platform::mem_realloc(list->modes, sizeof(uint32_t) * static_cast<size_t>(list->count + 1)));
  if (!grown) return DDENUMRET_CANCEL;
  list->modes = grown;
  list->modes[list->count++] = (mode->dwWidth << 16) | (mode->dwHeight & 0xFFFF);
  return DDENUMRET_OK;
}

uint32_t* ddraw_list_modes(int32_t depth, int32_t* count) {
  if (count) *count = 0;
  IDirectDraw2* object = borrow_direct_draw();
  HMODULE library = nullptr;
  if (!object) {
    // No open display: an object of our own, for this question only.
    auto create = ddraw_load_create_function(&library);
    IDirectDraw* first = nullptr;
    if (create && create(nullptr, &first, nullptr) == DD_OK && first) {
      if (first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&object)) != DD_OK) object = nullptr;
      first->Release();
    }
    if (!object) {
      if (library) FreeLibrary(library);
      return nullptr;
    }
  }
  ModeList list{depth, nullptr, 0};
  HRESULT result = object->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, &list, add_mode);
  object->Release();
  if (library) FreeLibrary(library);
  // A failed enumeration hands back no list, and so no count that would promise one.
  if (result != DD_OK) {
    std::free(list.modes);
    return nullptr;
  }
  if (count) *count = list.count;
  return list.modes;
}

}  // namespace

const DisplayDriver ddraw_driver = {
    "DirectX",        ddraw_open_display, host_close,        host_lock,        host_unlock,
    host_set_palette_entry, ddraw_wait_vblank, host_query_mouse, host_place_mouse, host_set_title,
    host_move_window, ddraw_list_modes,   nullptr,           nullptr,
};

}  // namespace zv
