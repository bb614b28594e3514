// A window system in memory: records what the host asked of it and answers from fields
// the tests set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/host/window_system.h"
#include "gfx/core/graphics_state.h"

namespace zv::test {

struct FakeWindowWorld {
  int32_t os_version = 0x0A00;
  int32_t cursor_x = 150;  // screen coordinates
  int32_t cursor_y = 150;
  ScreenRect client{100, 100, 740, 500};  // client area on screen
  ScreenRect frame{92, 70, 748, 508};
  bool has_leave_tracking = true;
  int32_t screensaver_active = 1;
  bool captured = false;
  bool clipped = false;
  ScreenRect clip_rect{};
  bool cursor_shape_visible = true;
  int32_t set_cursor_posts = 0;
  int32_t track_requests = 0;
  int32_t leave_posts = 0;
  int32_t moves = 0;
  int32_t moved_x = 0;
  int32_t moved_y = 0;
  int32_t set_cursor_x = -1;
  int32_t set_cursor_y = -1;
  std::string window_text;
  std::vector<uint32_t> timers;  // running timer ids
  void* window_under_cursor = nullptr;
  int32_t registered_classes = 0;
  std::string class_name;
  uint8_t keyboard[256] = {};
  uint8_t typed[256] = {};  // what to_ascii yields per virtual key (0: nothing)
  bool dead_key[256] = {};
};

extern FakeWindowWorld world;
extern const WindowSystem fake_window_system;
extern const WindowSystem fake_window_system_without_tracking;
// The fake window handle the tests pass to the procedure.
void* fake_window();

// A screen record with the host's buffers, installed as the current screen.
struct FakeScreen {
  GraphicsState gs{};
  InputEvent ring[EVENT_RING_SIZE]{};
  uint8_t dirty[800]{};
  uint8_t key_state[128]{};
  explicit FakeScreen(int32_t width = 640, int32_t height = 400);
  ~FakeScreen();
};

// Clears the host record and state, the world and the key ring; installs the fake system.
void reset_host(int32_t os_version = 0x0A00);
std::vector<InputEvent> drain_events();
std::vector<int32_t> drain_keys();

}  // namespace zv::test
