// Display modes through RandR for the DirectX driver on X: the CRTC that shows a point
// of the screen, switching its output to another size (and the screen with it when that
// CRTC is the only one lit), and bringing back the mode it had.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>

#include "display/host/window_system.h"

namespace zv {

constexpr int32_t X11_MAX_CRTC_OUTPUTS = 8;

// How one CRTC was set up: enough to set it up that way again.
struct X11CrtcSetup {
  RRCrtc crtc;
  RRMode mode;
  int32_t x, y;
  Rotation rotation;
  RROutput outputs[X11_MAX_CRTC_OUTPUTS];
  int32_t output_count;
};

struct X11ScreenSize {
  int32_t width, height, mm_width, mm_height;
};

struct X11ModeSwitch {
  X11CrtcSetup original;
  X11ScreenSize original_screen;
  bool resize_screen;     // the CRTC is the only lit one: the screen follows its mode
  char output_name[32];
  ScreenRect area;        // where the CRTC shows on the screen now
  RRMode mode;            // the mode we set, None before any
  Time config_time;       // the server's configuration time when we set it
};

// Finds the lit CRTC showing (x, y), else the first lit one; false when there is none
// (no RandR 1.2, or every output off).
bool x11_find_crtc(Display* display, Window root, int32_t x, int32_t y, X11ModeSwitch* out);

// Sets a mode of width x height on the CRTC's outputs: with refresh_rate > 0 only one of
// that rate (to the nearest Hz). 0 when the server took it.
int32_t x11_switch_mode(Display* display, Window root, X11ModeSwitch* modes, int32_t width, int32_t height,
                        int32_t refresh_rate);

// Whether the CRTC still shows the mode we set.
bool x11_mode_is_ours(Display* display, Window root, const X11ModeSwitch& modes);

// Sets the CRTC (and the screen) back as found; the screen grows before the CRTC does.
void x11_restore_mode(Display* display, Window root, const X11ModeSwitch& modes);

}  // namespace zv
