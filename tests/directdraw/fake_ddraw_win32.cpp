// The fake component objects: C vtables of our own filled with the methods the driver
// calls; every other slot stays null, so a call the driver should not make crashes the test.
#define CINTERFACE
#define DIRECTINPUT_VERSION 0x0300
#include <windows.h>
#include <ddraw.h>
#include <dinput.h>

#include <algorithm>
#include <cstring>

#include "directdraw/fake_ddraw.h"

namespace zv::test {

FakeDdrawWorld ddraw_world;

void FakeDdrawWorld::clear() { *this = FakeDdrawWorld{}; }

int32_t FakeDdrawWorld::count(const std::string& entry) const {
  return static_cast<int32_t>(std::count(log.begin(), log.end(), entry));
}

namespace {

FakeDdrawWorld& w() { return ddraw_world; }

// Every fake object: its vtable, a reference count and, for surfaces, pixels.
template <class Vtbl>
struct Fake {
  const Vtbl* lpVtbl;
  LONG refs;
  bool primary;
  uint32_t width, height;
  std::vector<uint8_t> pixels;
  int32_t pitch;
};

template <class Vtbl, class Interface>
Interface* make(const Vtbl* vtbl) {
  ++w().live_objects;
  auto* object = new Fake<Vtbl>{vtbl, 1, false, 0, 0, {}, 0};
  return reinterpret_cast<Interface*>(object);
}

template <class Vtbl, class Interface>
ULONG STDMETHODCALLTYPE add_ref(Interface* self) {
  return static_cast<ULONG>(++reinterpret_cast<Fake<Vtbl>*>(self)->refs);
}

template <class Vtbl, class Interface>
ULONG STDMETHODCALLTYPE release(Interface* self) {
  auto* object = reinterpret_cast<Fake<Vtbl>*>(self);
  LONG left = --object->refs;
  if (left == 0) {
    --w().live_objects;
    delete object;
  }
  return static_cast<ULONG>(left);
}

HRESULT result_of(std::vector<uint32_t>* queue) {
  if (queue->empty()) return DD_OK;
  HRESULT r = static_cast<HRESULT>(queue->front());
  queue->erase(queue->begin());
  return r;
}

// Surfaces
using SurfaceFake = Fake<IDirectDrawSurfaceVtbl>;
SurfaceFake* surface(IDirectDrawSurface* s) { return reinterpret_cast<SurfaceFake*>(s); }
const char* name(IDirectDrawSurface* s) { return surface(s)->primary ? "primary" : "back"; }

HRESULT STDMETHODCALLTYPE surface_blt(IDirectDrawSurface* self, RECT*, IDirectDrawSurface* source, RECT*, DWORD flags,
                                      DDBLTFX* effects) {
  if (flags & DDBLT_COLORFILL) {
    ++w().colour_fills;
    if (effects && effects->dwFillColor == 0) std::fill(surface(self)->pixels.begin(), surface(self)->pixels.end(), 0);
    return DD_OK;
  }
  w().log.push_back(std::string("blt ") + name(source) + " to " + name(self));
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE surface_pixel_format(IDirectDrawSurface*, DDPIXELFORMAT* format) {
  *format = DDPIXELFORMAT{};
  format->dwSize = sizeof *format;
  format->dwFlags = DDPF_RGB;
  format->dwRGBBitCount = w().surface_bits;
  format->dwRBitMask = w().red_mask;
  format->dwGBitMask = w().green_mask;
  format->dwBBitMask = w().blue_mask;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE surface_is_lost(IDirectDrawSurface* self) {
  if (!surface(self)->primary || w().lost_reports <= 0) return DD_OK;
  --w().lost_reports;
  return DDERR_SURFACELOST;
}
HRESULT STDMETHODCALLTYPE surface_lock(IDirectDrawSurface* self, RECT*, DDSURFACEDESC* description, DWORD, HANDLE) {
  SurfaceFake* s = surface(self);
  w().log.push_back(std::string("lock ") + name(self));
  description->lpSurface = s->pixels.data();
  description->lPitch = s->pitch;
  description->dwWidth = s->width;
  description->dwHeight = s->height;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE surface_unlock(IDirectDrawSurface* self, void*) {
  if (surface(self)->primary) {
    w().primary_pixels = surface(self)->pixels;
    w().primary_pitch = surface(self)->pitch;
  }
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE surface_restore(IDirectDrawSurface* self) {
  w().log.push_back(std::string("restore ") + name(self));
  return surface(self)->primary ? result_of(&w().primary_restores) : DD_OK;
}
HRESULT STDMETHODCALLTYPE surface_set_clipper(IDirectDrawSurface*, IDirectDrawClipper*) { return DD_OK; }
HRESULT STDMETHODCALLTYPE surface_set_palette(IDirectDrawSurface*, IDirectDrawPalette*) { return DD_OK; }

IDirectDrawSurfaceVtbl surface_vtbl() {
  IDirectDrawSurfaceVtbl v{};
  v.AddRef = add_ref<IDirectDrawSurfaceVtbl, IDirectDrawSurface>;
  v.Release = release<IDirectDrawSurfaceVtbl, IDirectDrawSurface>;
  v.Blt = surface_blt;
  v.GetPixelFormat = surface_pixel_format;
  v.IsLost = surface_is_lost;
  v.Lock = surface_lock;
  v.Restore = surface_restore;
  v.SetClipper = surface_set_clipper;
  v.SetPalette = surface_set_palette;
  v.Unlock = surface_unlock;
  return v;
}
const IDirectDrawSurfaceVtbl surface_table = surface_vtbl();

// Clipper and palette
HRESULT STDMETHODCALLTYPE clipper_set_window(IDirectDrawClipper*, DWORD, HWND) { return DD_OK; }
IDirectDrawClipperVtbl clipper_vtbl() {
  IDirectDrawClipperVtbl v{};
  v.AddRef = add_ref<IDirectDrawClipperVtbl, IDirectDrawClipper>;
  v.Release = release<IDirectDrawClipperVtbl, IDirectDrawClipper>;
  v.SetHWnd = clipper_set_window;
  return v;
}
const IDirectDrawClipperVtbl clipper_table = clipper_vtbl();

HRESULT STDMETHODCALLTYPE palette_set_entries(IDirectDrawPalette*, DWORD, DWORD, DWORD, PALETTEENTRY*) {
  w().log.push_back("palette");
  return DD_OK;
}
IDirectDrawPaletteVtbl palette_vtbl() {
  IDirectDrawPaletteVtbl v{};
  v.AddRef = add_ref<IDirectDrawPaletteVtbl, IDirectDrawPalette>;
  v.Release = release<IDirectDrawPaletteVtbl, IDirectDrawPalette>;
  v.SetEntries = palette_set_entries;
  return v;
}
const IDirectDrawPaletteVtbl palette_table = palette_vtbl();

// The DirectDraw object (one table serves the first interface and the second).
HRESULT STDMETHODCALLTYPE dd_query(IDirectDraw2* self, REFIID iid, void** out) {
  if (!IsEqualGUID(iid, IID_IDirectDraw2)) return E_NOINTERFACE;
  self->lpVtbl->AddRef(self);
  *out = self;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_create_clipper(IDirectDraw2*, DWORD, IDirectDrawClipper** out, IUnknown*) {
  *out = make<IDirectDrawClipperVtbl, IDirectDrawClipper>(&clipper_table);
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_create_palette(IDirectDraw2*, DWORD, PALETTEENTRY*, IDirectDrawPalette** out, IUnknown*) {
  *out = make<IDirectDrawPaletteVtbl, IDirectDrawPalette>(&palette_table);
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_create_surface(IDirectDraw2*, DDSURFACEDESC* description, IDirectDrawSurface** out,
                                            IUnknown*) {
  if (w().create_surface_failures > 0) {
    --w().create_surface_failures;
    w().log.push_back("create surface refused");
    return DDERR_OUTOFVIDEOMEMORY;
  }
  IDirectDrawSurface* s = make<IDirectDrawSurfaceVtbl, IDirectDrawSurface>(&surface_table);
  SurfaceFake* f = surface(s);
  f->primary = (description->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0;
  f->width = f->primary ? w().screen_width : description->dwWidth;
  f->height = f->primary ? w().screen_height : description->dwHeight;
  f->pitch = static_cast<int32_t>(f->width * ((w().surface_bits + 7) / 8) + 64);  // rows wider than the picture
  f->pixels.assign(static_cast<size_t>(f->pitch) * f->height, 0);
  w().log.push_back(std::string("create ") + name(s));
  *out = s;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_enum_modes(IDirectDraw2*, DWORD flags, DDSURFACEDESC*, void* context,
                                        LPDDENUMMODESCALLBACK callback) {
  if (flags != DDEDM_STANDARDVGAMODES) return DDERR_INVALIDPARAMS;
  for (const FakeMode& m : w().enumerated) {
    DDSURFACEDESC d{};
    d.dwSize = sizeof d;
    d.dwWidth = m.width;
    d.dwHeight = m.height;
    d.ddpfPixelFormat.dwRGBBitCount = m.bits;
    d.ddpfPixelFormat.dwGBitMask = m.flags;
    if (callback(&d, context) != DDENUMRET_OK) break;
  }
  return static_cast<HRESULT>(w().enumeration_result);
}
HRESULT STDMETHODCALLTYPE dd_monitor_frequency(IDirectDraw2*, DWORD* frequency) {
  *frequency = 72;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_restore_mode(IDirectDraw2*) {
  ++w().restore_display_modes;
  return DD_OK;
}
HRESULT STDMETHODCALLTYPE dd_cooperative(IDirectDraw2*, HWND window, DWORD flags) {
  w().log.push_back(flags == 0x13 ? "exclusive" : flags == 8 ? "normal" : "other level");
  return window ? DD_OK : DDERR_INVALIDPARAMS;
}
HRESULT STDMETHODCALLTYPE dd_set_mode(IDirectDraw2*, DWORD width, DWORD height, DWORD bits, DWORD rate, DWORD flags) {
  FakeMode m{width, height, bits, rate, flags};
  w().mode_requests.push_back(m);
  return std::find(w().accepted_modes.begin(), w().accepted_modes.end(), m) != w().accepted_modes.end()
             ? DD_OK
             : DDERR_UNSUPPORTEDMODE;
}
HRESULT STDMETHODCALLTYPE dd_wait_vblank(IDirectDraw2*, DWORD flags, HANDLE) {
  if (flags == DDWAITVB_BLOCKBEGIN) ++w().vertical_blank_waits;
  return DD_OK;
}

IDirectDraw2Vtbl direct_draw_vtbl() {
  IDirectDraw2Vtbl v{};
  v.QueryInterface = dd_query;
  v.AddRef = add_ref<IDirectDraw2Vtbl, IDirectDraw2>;
  v.Release = release<IDirectDraw2Vtbl, IDirectDraw2>;
  v.CreateClipper = dd_create_clipper;
  v.CreatePalette = dd_create_palette;
  v.CreateSurface = dd_create_surface;
  v.EnumDisplayModes = dd_enum_modes;
  v.GetMonitorFrequency = dd_monitor_frequency;
  v.RestoreDisplayMode = dd_restore_mode;
  v.SetCooperativeLevel = dd_cooperative;
  v.SetDisplayMode = dd_set_mode;
  v.WaitForVerticalBlank = dd_wait_vblank;
  return v;
}
const IDirectDraw2Vtbl direct_draw_table = direct_draw_vtbl();

// DirectInput and its keyboard
HRESULT STDMETHODCALLTYPE device_acquire(IDirectInputDeviceA*) {
  ++w().acquires;
  return DI_OK;
}
HRESULT STDMETHODCALLTYPE device_unacquire(IDirectInputDeviceA*) { return DI_OK; }
HRESULT STDMETHODCALLTYPE device_state(IDirectInputDeviceA*, DWORD size, void* data) {
  HRESULT r = result_of(&w().device_state_results);
  if (r == DI_OK && size == 256) std::memcpy(data, w().keys, 256);
  return r;
}
HRESULT STDMETHODCALLTYPE device_format(IDirectInputDeviceA*, const DIDATAFORMAT* format) {
  // The 256-object keyboard layout, one key per state byte.
  bool good = format->dwSize == sizeof(DIDATAFORMAT) && format->dwObjSize == sizeof(DIOBJECTDATAFORMAT) &&
              format->dwFlags == 2 && format->dwDataSize == 256 && format->dwNumObjs == 256;
  for (DWORD i = 0; good && i < 256; ++i) {
    const DIOBJECTDATAFORMAT& o = format->rgodf[i];
    good = o.pguid && IsEqualGUID(*o.pguid, GUID_Key) && o.dwOfs == i && o.dwType == ((i << 8) | 0x8000000C) &&
           o.dwFlags == 0;
  }
  w().log.push_back(good ? "keyboard format" : "bad keyboard format");
  return good ? DI_OK : DIERR_INVALIDPARAM;
}
IDirectInputDeviceAVtbl device_vtbl() {
  IDirectInputDeviceAVtbl v{};
  v.AddRef = add_ref<IDirectInputDeviceAVtbl, IDirectInputDeviceA>;
  v.Release = release<IDirectInputDeviceAVtbl, IDirectInputDeviceA>;
  v.Acquire = device_acquire;
  v.Unacquire = device_unacquire;
  v.GetDeviceState = device_state;
  v.SetDataFormat = device_format;
  return v;
}
const IDirectInputDeviceAVtbl device_table = device_vtbl();

HRESULT STDMETHODCALLTYPE input_create_device(IDirectInputA*, REFGUID guid, IDirectInputDeviceA** out, IUnknown*) {
  if (!IsEqualGUID(guid, GUID_SysKeyboard)) return DIERR_DEVICENOTREG;
  *out = make<IDirectInputDeviceAVtbl, IDirectInputDeviceA>(&device_table);
  return DI_OK;
}
IDirectInputAVtbl input_vtbl() {
  IDirectInputAVtbl v{};
  v.AddRef = add_ref<IDirectInputAVtbl, IDirectInputA>;
  v.Release = release<IDirectInputAVtbl, IDirectInputA>;
  v.CreateDevice = input_create_device;
  return v;
}
const IDirectInputAVtbl input_table = input_vtbl();

HRESULT WINAPI fake_direct_draw_create(GUID*, IDirectDraw** out, IUnknown*) {
  ++w().direct_draw_creates;
  *out = reinterpret_cast<IDirectDraw*>(make<IDirectDraw2Vtbl, IDirectDraw2>(&direct_draw_table));
  return DD_OK;
}
HRESULT WINAPI fake_direct_input_create(HINSTANCE, DWORD version, IDirectInputA** out, IUnknown*) {
  if (version != 0x0300) return DIERR_OLDDIRECTINPUTVERSION;
  *out = make<IDirectInputAVtbl, IDirectInputA>(&input_table);
  return DI_OK;
}

}  // namespace

const DdrawLibraryFunctions fake_ddraw_functions = {reinterpret_cast<void*>(fake_direct_draw_create), nullptr,
                                                    reinterpret_cast<void*>(fake_direct_input_create)};

}  // namespace zv::test
