#include "display/host/monitor_covers.h"

namespace zv {

namespace {

bool is_empty(const ScreenRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool inside(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool same(const ScreenRect& a, const ScreenRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

int32_t monitors_to_cover(const ScreenRect* monitors, int32_t count, const ScreenRect& shown,
                          ScreenRect covers[MAX_MONITOR_COVERS]) {
  int32_t n = 0;
  for (int32_t i = 0; monitors && i < count && n < MAX_MONITOR_COVERS; ++i) {
    const ScreenRect& m = monitors[i];
    if (is_empty(m) || inside(m, shown)) continue;
    bool seen = false;
    for (int32_t j = 0; j < n && !seen; ++j) seen = same(covers[j], m);
    if (!seen) covers[n++] = m;
  }
  return n;
}

}  // namespace zv
