// What the window host needs from a windowing layer. The Win32 binding fills one table;
// tests fill another and drive the host with synthetic messages.
#pragma once

#include <cstdint>

namespace zv {

struct WindowHost;

struct ScreenRect {
  int32_t left;
  int32_t top;
  int32_t right;  // exclusive
  int32_t bottom;  // exclusive
};

inline bool rect_contains(const ScreenRect& rect, int32_t x, int32_t y) {
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

// Entries marked optional may be null; every other entry must be filled.
struct WindowSystem {
  int32_t (*os_version)();  // major * 256 + minor
  void* (*monitor_from_cursor)();  // optional: nearest monitor of the cursor position
  void* (*monitor_from_window)(void* window);  // optional: nearest monitor of the window
  uint32_t (*register_mouse_enter_message)();
  int32_t (*screensaver_active)();
  void (*set_screensaver_active)(int32_t active);
  // Fills the rest of host->window_class (procedure, instance, icon, cursor) and registers it.
  void (*register_class)(WindowHost* host);
  void (*unregister_class)(WindowHost* host);
  bool (*track_mouse_leave)(void* window);  // optional: null selects the emulation

  bool (*get_cursor_pos)(int32_t* x, int32_t* y);  // screen coordinates
  void (*set_cursor_pos)(int32_t x, int32_t y);
  void (*set_cursor_shape)(bool visible);  // the arrow, or no cursor
  void (*post_set_cursor)(void* window);  // makes a visibility change take effect
  void (*clip_cursor)(const ScreenRect* rect);  // null releases the clip
  bool (*client_rect_on_screen)(void* window, ScreenRect* rect);
  void (*client_to_screen)(void* window, int32_t* x, int32_t* y);
  bool (*window_rect)(void* window, ScreenRect* rect);
  void (*set_window_text)(void* window, const char* text);
  // Moves without resizing or changing the Z order, without waiting for the window's thread.
  void (*move_window)(void* window, int32_t x, int32_t y);
  void* (*window_from_point)(int32_t x, int32_t y);
  void (*capture_mouse)(void* window);
  void (*release_capture)();
  bool (*has_capture)(void* window);
  void (*set_timer)(void* window, uint32_t id, uint32_t period_ms);
  void (*kill_timer)(void* window, uint32_t id);
  void (*post_mouse_leave)(void* window);

  void (*keyboard_state)(uint8_t state[256]);  // by virtual key, bit 7 = down
  int32_t (*vk_to_char)(uint32_t virtual_key);  // negative for a dead key
  // Translates a key with the whole keyboard state; returns the number of characters.
  int32_t (*to_ascii)(uint32_t virtual_key, uint32_t scan_code, const uint8_t state[256], uint8_t out[2]);

  void (*begin_paint)(void* window);
  void (*end_paint)(void* window);
};

// The table in use; null until a binding or a test installs one.
const WindowSystem* window_system();
void set_window_system(const WindowSystem* system);

}  // namespace zv
