// Component objects of our own behind the DirectX driver's creation functions: a
// DirectDraw object, surfaces in memory, clipper, palette, DirectInput and a keyboard
// device. Each call is logged; the world's fields decide the answers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/directdraw/win32/ddraw_library.h"

namespace zv::test {

struct FakeMode {
  uint32_t width, height, bits, refresh_rate, flags;
  bool operator==(const FakeMode&) const = default;
};

struct FakeDdrawWorld {
  // Display
  std::vector<FakeMode> accepted_modes;  // SetDisplayMode takes only these (refresh rate and flags included)
  std::vector<FakeMode> mode_requests;
  uint32_t surface_bits = 32;
  uint32_t red_mask = 0xFF0000, green_mask = 0xFF00, blue_mask = 0xFF;
  uint32_t screen_width = 1024, screen_height = 768;
  int32_t create_surface_failures = 0;  // the next n CreateSurface calls fail
  // Recovery
  int32_t lost_reports = 0;                 // IsLost of the primary answers "lost" this many times
  std::vector<uint32_t> primary_restores;   // results of the primary's next Restore calls (then success)
  // Keyboard
  uint8_t keys[256] = {};
  std::vector<uint32_t> device_state_results;  // results of the next GetDeviceState calls (then success)
  int32_t acquires = 0;
  // What happened
  std::vector<std::string> log;
  int32_t live_objects = 0;
  int32_t direct_draw_creates = 0;
  int32_t vertical_blank_waits = 0;
  int32_t restore_display_modes = 0;
  int32_t colour_fills = 0;
  std::vector<FakeMode> enumerated;  // EnumDisplayModes reports these (width, height, bits, green mask in flags)
  uint32_t enumeration_result = 0;   // and then answers this
  // The primary surface's memory, as the last one created left it.
  std::vector<uint8_t> primary_pixels;
  int32_t primary_pitch = 0;

  void clear();
  int32_t count(const std::string& entry) const;
};

extern FakeDdrawWorld ddraw_world;
// Creation functions that hand out the fake objects.
extern const DdrawLibraryFunctions fake_ddraw_functions;

}  // namespace zv::test
