// The window host shared by the window-based display back-ends: one record for the
// program, the host's mouse state, the event kinds, and the shared driver entries.
#pragma once

#include <cstdint>

#include "display/blit/blit.h"
#include "gfx/core/graphics_state.h"

namespace zv {

namespace platform {
struct RecursiveLock;
struct Thread;
struct Event;
}  // namespace platform

// Event kinds of the GraphicsState event ring (word 1 of an InputEvent).
constexpr int32_t EV_KEY_DOWN = 1;
constexpr int32_t EV_KEY_UP = 2;
constexpr int32_t EV_KEY_REPEAT = 3;
constexpr int32_t EV_MOUSE_MOVE = 4;
constexpr int32_t EV_BUTTON_DOWN = 5;
constexpr int32_t EV_BUTTON_UP = 6;
constexpr int32_t EV_DOUBLE_CLICK = 7;
constexpr int32_t EV_WHEEL = 8;
constexpr int32_t EV_MOUSE_ENTER = 9;
constexpr int32_t EV_MOUSE_LEAVE = 10;
constexpr int32_t EV_FOCUS_GAINED = 11;
constexpr int32_t EV_FOCUS_LOST = 12;
constexpr int32_t EV_CLOSE = 13;
constexpr int32_t EV_HWHEEL = 14;

// Mouse button bits
constexpr int32_t BUTTON_LEFT = 1;
constexpr int32_t BUTTON_RIGHT = 2;
constexpr int32_t BUTTON_MIDDLE = 4;
constexpr int32_t BUTTON_EXTRA1 = 8;
constexpr int32_t BUTTON_EXTRA2 = 16;

struct WindowClass {
  uint32_t style;
  void* window_procedure;
  void* instance;
  void* icon;
  void* cursor;
  const char* class_name;
};

struct HostPaletteEntry {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t flags;  // always PALETTE_NO_COLLAPSE
};
constexpr uint8_t PALETTE_NO_COLLAPSE = 4;

constexpr int32_t CLASS_NAME_SIZE = 140;
constexpr int32_t HOST_TITLE_SIZE = 128;

struct WindowHost {
  int32_t os_version;  // major * 256 + minor
  void* instance;
  WindowClass window_class;
  void* window;
  HostPaletteEntry palette[256];
  BlitFunction blit;  // null: the framebuffer is shown directly
  void* monitor;
  int32_t running;
  int32_t palette_dirty;
  int32_t active;
  int32_t width;
  int32_t height;  // display height: mode height x scanline size
  int32_t depth;
  int32_t flags;
  int32_t refresh_rate;
  char title[HOST_TITLE_SIZE];
  char class_name[CLASS_NAME_SIZE];
  int32_t (*driver_open_hook)();  // 0 on success
  void (*driver_close_hook)();
  void (*driver_paint_hook)();
  void (*window_thread_main)(platform::Event* start_event);
  int32_t mouse_clip;
};

// Host state that lives outside the record and is kept across opens.
struct HostState {
  platform::RecursiveLock* lock;
  platform::Thread* thread;
  platform::Event* thread_ended;
  int32_t thread_started;
  int32_t saved_screensaver_active;
  int32_t screensaver_saved;
  bool (*track_mouse)(void* window);  // the system's leave tracking or its emulation
  int32_t mouse_tracked;
  int32_t cursor_visible;
  int32_t buttons;
  int32_t wheel;
  int32_t hwheel;  // never reset
  int32_t mouse_x;
  int32_t mouse_y;
  int32_t cursor_in_client;
  int32_t last_cursor_x;  // screen coordinates; x == LAST_CURSOR_NONE means none
  int32_t last_cursor_y;
  uint32_t mouse_enter_message;
  uint32_t pictures_shown;  // updates that sent changed rows to the display, since the open
  uint32_t open_tick;
};
constexpr int32_t LAST_CURSOR_NONE = 0xFFFF;

extern WindowHost window_host;
extern HostState host_state;

// Common open and close of the window-based back-ends. A driver clears window_host,
// sets the four hooks and calls host_open from its open_display.
int32_t host_open(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                  int32_t flags);
void host_close();
// A driver's update calls this when it sent changed rows to the display; with
// ZVGFX_VERBOSE the close reports how many pictures were shown and how fast.
void host_picture_shown();

// The window thread calls this once its window and surfaces are ready.
void host_signal_started(platform::Event* start_event);
// The window thread's loop condition.
bool host_running();
// The body of a driver's window thread: the driver's open hook (on failure its close hook,
// and the thread ends, so the waiting open fails), the start signal, then the update
// cycle until the host closes: under the screen lock, show what changed and handle the
// window's messages, then pause for the rest of the cycle (HOST_PAUSE_FIRST pauses
// before each cycle instead); last the driver's close hook.
constexpr int32_t HOST_UPDATE_CYCLE_MS = 10;
enum HostPause { HOST_PAUSE_AFTER, HOST_PAUSE_FIRST };
void host_window_thread(platform::Event* start_event, void (*update)(GraphicsState* gs), void (*pump)(),
                        HostPause pause = HOST_PAUSE_AFTER);

// Window/full-screen switch, asked for by the window procedure.
int32_t switch_display();

// Appends one event to the GraphicsState event ring; a full ring drops its oldest entry.
void post_event(const InputEvent& event);
// Reads the oldest unread event; false when the ring is empty.
bool read_event(InputEvent* event);

// Confines the cursor to the client area of the window.
void clip_cursor();
void release_cursor_clip();

// Marks every row of the dirty array (display height many).
void mark_all_rows_dirty();

// Shared DisplayDriver entries.
void host_lock();
void host_unlock();
void host_set_palette_entry(int32_t index, int32_t red, int32_t green, int32_t blue);
void host_wait_vblank();
int32_t host_query_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
void host_place_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);
void host_set_title(const char* title);
int32_t host_move_window(int32_t x, int32_t y);

}  // namespace zv
