// The window procedure of the host's windows, over platform-neutral messages. A binding
// translates each window-system message into a HostMessage and runs the default
// processing when the result asks for it.
#pragma once

#include <cstdint>

namespace zv {

enum HostMessageKind : int32_t {
  HM_OTHER = 0,
  HM_KEY_DOWN,         // wparam: virtual key; lparam: repeat 0-15, scan 16-23, extended 24, Alt 29, previous 30
  HM_KEY_UP,           // as HM_KEY_DOWN
  HM_SYSTEM_KEY_DOWN,  // as HM_KEY_DOWN: a key pressed with Alt held, or F10
  HM_SYSTEM_KEY_UP,
  HM_CHARACTER,        // wparam: character of code page 1252; lparam: repeat count in bits 0-15
  HM_MOUSE_MOVE,       // lparam: client x in bits 0-15, client y in bits 16-31
  HM_BUTTON_DOWN,      // wparam: the button bit
  HM_BUTTON_DOUBLE,    // wparam: the button bit
  HM_BUTTON_UP,        // wparam: the button bit
  HM_WHEEL,            // wparam as a signed 32-bit value: positive for a step away from the user
  HM_HWHEEL,           // as HM_WHEEL, positive to the right
  HM_MOUSE_LEAVE,
  HM_MOUSE_ENTER,      // the registered mouse-enter message
  HM_SET_CURSOR,
  HM_ACTIVATE,         // wparam: state (0 inactive) in bits 0-15, minimised in bits 16-31
  HM_CLOSE,
  HM_PAINT,
  HM_DISPLAY_CHANGE,
  HM_MOVING,
  HM_SIZE,             // wparam: SIZE_KIND_*
  HM_TIMER,            // wparam: timer id
};

constexpr uint64_t SIZE_KIND_MAXIMISED = 2;
constexpr uint32_t VK_RETURN_KEY = 0x0D;
constexpr uint32_t VK_ALT_KEY = 0x12;
constexpr uint32_t VK_F10_KEY = 0x79;

struct HostMessage {
  int32_t kind;
  uint64_t wparam;
  int64_t lparam;
};

struct HostResult {
  bool call_default;  // the binding runs the platform's default processing
  int64_t value;      // returned when call_default is false
};

HostResult handle_window_message(void* window, const HostMessage& message);

// Parts of the procedure, each handling its kinds of message (window_procedure.cpp dispatches).
HostResult handle_key_message(void* window, const HostMessage& message);
HostResult handle_character_message(const HostMessage& message);
HostResult handle_mouse_message(void* window, const HostMessage& message);
// Starts leave tracking on the first sign of the mouse; may turn `kind` into EV_MOUSE_ENTER.
void mouse_enter_check(void* window, int32_t* kind);

}  // namespace zv
