// The X11 side of the window host: the connection, the window system table, the host's
// window and the message pump. The driver's window thread makes every call here, except
// the shared driver entries, which the program's thread makes with the lock held.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "display/host/monitor_covers.h"
#include "display/host/window_system.h"
#include "display/host/x11_keymap.h"
#include "display/x11/x11_rules.h"

namespace zv {

struct WindowSystem;

struct X11Atoms {
  Atom wm_protocols;
  Atom wm_delete_window;
  Atom net_wm_name;
  Atom net_wm_state;
  Atom net_wm_state_fullscreen;
  Atom net_wm_state_above;
  Atom net_wm_state_maximized_horz;
  Atom net_wm_state_maximized_vert;
  Atom net_wm_state_hidden;
  Atom motif_wm_hints;
  Atom utf8_string;
  Atom set_cursor;   // our own messages to ourselves
  Atom mouse_leave;
  Atom mouse_enter;  // the registered mouse-enter message
};

struct X11Connection {
  Display* display;
  int screen;
  Window root;
  Visual* visual;
  int depth;
  X11Atoms atoms;
  bool has_randr;
  int randr_event_base;
};

// Black windows over the monitors that the full-screen picture leaves.
struct X11Covers {
  Window windows[MAX_MONITOR_COVERS];
  int32_t count;
};

// The host's window: a top-level frame and, inside it, the view that shows the picture.
// In a window both have the picture's size; in full screen the frame covers the monitor.
// Drawing into someone else's window (a screen locker's), the frame is a child of that
// window, the target, and as large as it.
struct X11Window {
  Window frame;
  Window view;
  Window target;
  int32_t target_width;  // as last reported by the server
  int32_t target_height;
  X11Covers covers;
  X11Placement place;
  int32_t width;   // picture size
  int32_t height;
  Cursor blank_cursor;
  Cursor arrow_cursor;
  Colormap view_colormap;  // when the view has a visual of its own
  bool destroyed;  // destroyed by someone else (a window manager's kill, a test tool)
};

// Opens the display named by DISPLAY; false when there is none.
bool x11_connect();
void x11_disconnect();
const X11Connection* x11_connection();
// The server went away: the connection stays open but does nothing until x11_disconnect.
bool x11_connection_lost();

const WindowSystem* x11_window_system();

// The monitor under the pointer (the whole screen without RandR monitors), and the screen.
ScreenRect x11_monitor_under_pointer();
ScreenRect x11_screen_rect();

// The window the next host windows are made in instead of on the root (a screen
// locker's), or None for windows of our own. While one is set, the host takes no input
// focus and leaves the server's screen saver setting to the locker.
void x11_set_target_window(Window target);
Window x11_target_window();
// The target's size; false when it does not exist (any more).
bool x11_target_size(int32_t* width, int32_t* height);
// Whether the target's size has changed since the host's window was placed in it.
bool x11_target_resized();

// Covers every monitor but the one at `shown` with a black window, and removes them.
void x11_cover_other_monitors(const X11Connection& c, const ScreenRect& shown, X11Covers* covers);
void x11_remove_covers(const X11Connection& c, X11Covers* covers);

// A visual for the view other than the screen's (an OpenGL context needs its own).
struct X11ViewVisual {
  Visual* visual;
  int depth;
};

// Creates and shows the host's window for the host's flags at this placement, and
// stores it in window_host.window; 0 or -1. The view gets view_visual when given.
int32_t create_host_window(const X11Placement& place, int32_t width, int32_t height,
                           const X11ViewVisual* view_visual = nullptr);
void destroy_host_window();
// Takes the window off the screen, keeping it and what is drawn into it.
void x11_hide_host_window();
// Gives a kept window the hints of the host's flags and this placement, and shows it; 0 or -1.
int32_t x11_restyle_host_window(const X11Placement& place);
X11Window* x11_host_window();
void x11_set_window_title(const char* title);
// Takes the pointer's position over the new window as the host's mouse position, so
// that the first events do not look like a move.
void x11_prime_pointer();

// Dispatches every event waiting for the host's window to the window procedure.
void pump_messages();

// What the pump knows between events; the window system table answers from it.
struct X11Timer {
  uint32_t id;
  uint32_t period_ms;
  uint32_t due;  // tick count
};
struct X11InputState {
  X11KeyboardState keyboard;
  uint8_t typed;        // the character of the key message being handled
  bool dead_key;        // that key is a dead key
  bool leave_requested; // the procedure asked to hear when the pointer leaves
  bool captured;
  X11Timer timers[4];   // id 0: free
  uint32_t last_click_time;  // for double clicks
  int32_t last_click_button;
  int32_t last_click_x;
  int32_t last_click_y;
};
X11InputState& x11_input();

// X errors are recorded, never fatal. Returns and clears the last error code (0 none).
int32_t x11_take_error();

}  // namespace zv
