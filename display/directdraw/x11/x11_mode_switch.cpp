#include "display/directdraw/x11/x11_mode_switch.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace zv {

namespace {

double refresh_of(const XRRModeInfo& mode) {
  if (!mode.hTotal || !mode.vTotal) return 0;
  double lines = mode.vTotal;
  if (mode.modeFlags & RR_DoubleScan) lines *= 2;
  if (mode.modeFlags & RR_Interlace) lines /= 2;
  return static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
}

const XRRModeInfo* find_mode_info(const XRRScreenResources* resources, RRMode id) {
  for (int i = 0; i < resources->nmode; ++i)
    if (resources->modes[i].id == id) return &resources->modes[i];
  return nullptr;
}

int32_t lit_crtcs(Display* d, XRRScreenResources* resources) {
  int32_t lit = 0;
  for (int i = 0; i < resources->ncrtc; ++i) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(d, resources, resources->crtcs[i]);
    if (info && info->mode != None) ++lit;
    if (info) XRRFreeCrtcInfo(info);
  }
  return lit;
}

// The screen's size in millimetres kept at the same pixel density.
X11ScreenSize scaled_size(const X11ScreenSize& from, int32_t width, int32_t height) {
  X11ScreenSize s{width, height, from.mm_width, from.mm_height};
  if (from.width > 0 && from.height > 0) {
    s.mm_width = std::max(1, from.mm_width * width / from.width);
    s.mm_height = std::max(1, from.mm_height * height / from.height);
  }
  return s;
}

bool apply_setup(Display* d, Window root, const X11CrtcSetup& setup) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, root);
  if (!resources) return false;
  RROutput outputs[X11_MAX_CRTC_OUTPUTS];
  std::memcpy(outputs, setup.outputs, sizeof outputs);
  Status status = XRRSetCrtcConfig(d, resources, setup.crtc, CurrentTime, setup.x, setup.y, setup.mode,
                                   setup.rotation, outputs, setup.output_count);
  XRRFreeScreenResources(resources);
  return status == RRSetConfigSuccess;
}

}  // namespace

bool x11_find_crtc(Display* d, Window root, int32_t x, int32_t y, X11ModeSwitch* out) {
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(d, &event_base, &error_base) || !XRRQueryVersion(d, &major, &minor)) return false;
  if (major < 1 || (major == 1 && minor < 2)) return false;
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, root);
  if (!resources) return false;
  bool found = false;
  for (int pass = 0; pass < 2 && !found; ++pass) {
    for (int i = 0; i < resources->ncrtc && !found; ++i) {
      XRRCrtcInfo* info = XRRGetCrtcInfo(d, resources, resources->crtcs[i]);
      if (!info) continue;
      ScreenRect area{info->x, info->y, info->x + static_cast<int32_t>(info->width),
                      info->y + static_cast<int32_t>(info->height)};
      if (info->mode != None && info->noutput > 0 && (pass == 1 || rect_contains(area, x, y))) {
        *out = X11ModeSwitch{};
        X11CrtcSetup& s = out->original;
        s.crtc = resources->crtcs[i];
        s.mode = info->mode;
        s.x = info->x;
        s.y = info->y;
        s.rotation = info->rotation;
        s.output_count = std::min(info->noutput, X11_MAX_CRTC_OUTPUTS);
        std::copy(info->outputs, info->outputs + s.output_count, s.outputs);
        out->area = area;
        if (XRROutputInfo* output = XRRGetOutputInfo(d, resources, s.outputs[0])) {
          std::strncpy(out->output_name, output->name, sizeof out->output_name - 1);
          XRRFreeOutputInfo(output);
        }
        found = true;
      }
      XRRFreeCrtcInfo(info);
    }
  }
  if (found) {
    const int screen = DefaultScreen(d);
    out->original_screen = X11ScreenSize{DisplayWidth(d, screen), DisplayHeight(d, screen), DisplayWidthMM(d, screen),
                                         DisplayHeightMM(d, screen)};
    out->resize_screen = lit_crtcs(d, resources) == 1;
  }
  XRRFreeScreenResources(resources);
  return found;
}

int32_t x11_switch_mode(Display* d, Window root, X11ModeSwitch* m, int32_t width, int32_t height,
                        int32_t refresh_rate) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, root);
  if (!resources) return -1;
  XRROutputInfo* output = XRRGetOutputInfo(d, resources, m->original.outputs[0]);
  RRMode chosen = None;
  double best = -1;
  for (int i = 0; output && i < output->nmode; ++i) {
    const XRRModeInfo* info = find_mode_info(resources, output->modes[i]);
    if (!info || static_cast<int32_t>(info->width) != width || static_cast<int32_t>(info->height) != height) continue;
    const double rate = refresh_of(*info);
    if (refresh_rate > 0 && std::lround(rate) != refresh_rate) continue;
    if (rate > best) {  // the fastest of that size when no rate was asked for
      best = rate;
      chosen = info->id;
    }
  }
  if (output) XRRFreeOutputInfo(output);
  XRRFreeScreenResources(resources);
  if (chosen == None) return -1;
  X11CrtcSetup setup = m->original;
  setup.mode = chosen;
  if (m->resize_screen) setup.x = setup.y = 0;
  // A larger mode needs the larger screen first; a smaller screen can follow only once
  // the CRTC fits into it.
  const X11ScreenSize& was = m->original_screen;
  const bool grow = m->resize_screen && (width > was.width || height > was.height);
  X11ScreenSize size = scaled_size(was, width, height);
  if (grow) XRRSetScreenSize(d, root, size.width, size.height, size.mm_width, size.mm_height);
  if (!apply_setup(d, root, setup)) {
    if (grow) XRRSetScreenSize(d, root, was.width, was.height, was.mm_width, was.mm_height);
    return -1;
  }
  if (m->resize_screen && !grow) XRRSetScreenSize(d, root, size.width, size.height, size.mm_width, size.mm_height);
  XSync(d, False);
  m->mode = chosen;
  m->area = ScreenRect{setup.x, setup.y, setup.x + width, setup.y + height};
  if (XRRScreenResources* now = XRRGetScreenResourcesCurrent(d, root)) {
    m->config_time = now->configTimestamp;
    XRRFreeScreenResources(now);
  }
  return 0;
}

bool x11_mode_is_ours(Display* d, Window root, const X11ModeSwitch& m) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(d, root);
  if (!resources) return true;  // nothing to tell: carry on
  XRRCrtcInfo* info = XRRGetCrtcInfo(d, resources, m.original.crtc);
  const bool ours = !info || info->mode == m.mode;
  if (info) XRRFreeCrtcInfo(info);
  XRRFreeScreenResources(resources);
  return ours;
}

void x11_restore_mode(Display* d, Window root, const X11ModeSwitch& m) {
  const X11ScreenSize& was = m.original_screen;
  if (m.resize_screen) XRRSetScreenSize(d, root, std::max(was.width, m.area.right), std::max(was.height, m.area.bottom),
                                        was.mm_width, was.mm_height);
  apply_setup(d, root, m.original);
  if (m.resize_screen) XRRSetScreenSize(d, root, was.width, was.height, was.mm_width, was.mm_height);
  XSync(d, False);
}

}  // namespace zv
