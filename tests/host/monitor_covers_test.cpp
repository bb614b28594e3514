// Which monitors are blacked out beside the full-screen picture.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "display/host/monitor_covers.h"

namespace zv {
namespace {

using Corners = std::array<int32_t, 4>;

std::vector<Corners> corners(const ScreenRect* rects, size_t n) {
  std::vector<Corners> out;
  for (size_t i = 0; i < n; ++i) out.push_back({rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
  return out;
}

std::vector<Corners> covers_for(const std::vector<ScreenRect>& monitors, const ScreenRect& shown) {
  ScreenRect out[MAX_MONITOR_COVERS];
  const int32_t n = monitors_to_cover(monitors.data(), static_cast<int32_t>(monitors.size()), shown, out);
  return corners(out, static_cast<size_t>(n));
}

TEST(MonitorCovers, EveryMonitorButTheShownOne) {
  const ScreenRect left{0, 0, 800, 600}, right{800, 0, 1600, 600}, below{0, 600, 1024, 1368};
  struct Case {
    const char* what;
    std::vector<ScreenRect> monitors;
    ScreenRect shown;
    std::vector<ScreenRect> expected;
  };
  const Case cases[] = {
      {"one monitor", {left}, left, {}},
      {"two side by side, picture left", {left, right}, left, {right}},
      {"two side by side, picture right", {left, right}, right, {left}},
      {"three", {left, right, below}, right, {left, below}},
      // A smaller display mode on the shown monitor: the picture's rectangle is what counts.
      {"shown rectangle smaller than its monitor", {left, right}, ScreenRect{0, 0, 640, 400}, {left, right}},
      {"a mirror of the shown monitor", {left, left, right}, left, {right}},
      {"a monitor listed twice", {left, right, right}, left, {right}},
      {"a monitor inside the shown one", {left, ScreenRect{100, 100, 500, 400}}, left, {}},
      {"empty monitors", {left, ScreenRect{5, 5, 5, 600}, ScreenRect{900, 10, 800, 20}}, left, {}},
      {"a monitor overlapping the shown one", {left, ScreenRect{700, 0, 1500, 600}}, left, {ScreenRect{700, 0, 1500, 600}}},
      {"no monitors known", {}, left, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(covers_for(c.monitors, c.shown), corners(c.expected.data(), c.expected.size())) << c.what;
  }
}

TEST(MonitorCovers, NoMoreThanTheLimitAndNoList) {
  std::vector<ScreenRect> many;
  for (int32_t i = 0; i < 40; ++i) many.push_back(ScreenRect{i * 100, 0, i * 100 + 100, 100});
  EXPECT_EQ(covers_for(many, ScreenRect{-1000, -1000, -900, -900}).size(), static_cast<size_t>(MAX_MONITOR_COVERS));
  ScreenRect out[MAX_MONITOR_COVERS];
  EXPECT_EQ(monitors_to_cover(nullptr, 3, ScreenRect{0, 0, 1, 1}, out), 0);
  EXPECT_EQ(monitors_to_cover(many.data(), -2, ScreenRect{0, 0, 1, 1}, out), 0);
}

}  // namespace
}  // namespace zv
