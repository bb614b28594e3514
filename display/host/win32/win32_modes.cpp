// The display modes the system offers, one by one, and the full-screen mode change.
#include <windows.h>

#include "display/host/win32/win32_host.h"
#include "display/mode_list.h"

namespace zv {

bool win32_display_mode(int32_t index, DisplayModeEntry* mode) {
  DEVMODEA settings{};
  settings.dmSize = sizeof settings;
  if (index < 0 || !EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &settings)) return false;
  mode->width = settings.dmPelsWidth;
  mode->height = settings.dmPelsHeight;
  mode->bits_per_pixel = static_cast<int32_t>(settings.dmBitsPerPel);
  return true;
}

bool win32_enter_display_mode(int32_t width, int32_t height, int32_t depth, int32_t refresh_rate) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(depth);
  mode.dmDisplayFrequency = static_cast<DWORD>(refresh_rate);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void win32_restore_display_mode() { ChangeDisplaySettingsA(nullptr, 0); }

}  // namespace zv
