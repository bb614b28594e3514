// X key events in the form the window procedure knows from Windows: virtual keys, PC scan
// codes, the keyboard state by virtual key and the typed character in code page 1252.
// Pure tables and rules, so they are tested without an X server.
#pragma once

#include <cstdint>

#include "display/host/window_procedure.h"

namespace zv {

// One X key by its evdev keycode (Linux KEY_* code + 8).
struct X11KeycodeRow {
  uint8_t keycode;
  uint8_t scancode;   // PC set-1 code without the E0 prefix
  uint8_t extended;   // 1 for keys that come with the E0 prefix
  uint8_t vk;         // the key's virtual key (keypad: with NumLock off)
  uint8_t keypad_vk;  // keypad keys typing a digit or point: the virtual key then, else 0
};

constexpr int32_t X11_KEYCODE_ROWS = 105;
extern const X11KeycodeRow X11_KEYCODE_TABLE[X11_KEYCODE_ROWS];

// The row of an X keycode, null for keys we do not map.
const X11KeycodeRow* x11_keycode_row(uint32_t keycode);

// Keysym of a key as the layout gives it: base_keysym is the unshifted symbol of the
// key (which names letter keys wherever a layout puts them), keysym the symbol with
// Shift, Lock, NumLock and AltGr applied but without Ctrl and Alt.
struct X11Key {
  uint32_t keycode;
  uint32_t base_keysym;
  uint32_t keysym;
};

// The virtual key of an X key, 0 when it has none.
uint32_t x11_virtual_key(const X11Key& key);

// A keysym's character in code page 1252, 0 when it types none there.
uint8_t keysym_to_cp1252(uint32_t keysym);
bool is_dead_keysym(uint32_t keysym);
// Keysyms of the key that acts as AltGr (Ctrl + Alt on Windows).
bool is_altgr_keysym(uint32_t keysym);

// What the host can ask about the keyboard between two X key events.
struct X11KeyboardState {
  uint8_t vk[256];       // by virtual key, bit 7 = down (generic and left/right entries)
  uint8_t keycode[256];  // 1 while that X key is down
  uint8_t altgr_down;    // the AltGr key is down: it counts as left Ctrl and right Alt
};

// The character a key types with the modifiers in state, as the Windows layout call
// gives it: Ctrl makes control characters, Alt alone leaves the character as it is.
uint8_t x11_typed_character(const X11KeyboardState& state, uint32_t vk, uint32_t keysym);

// One key event turned into window messages: the key message and, for a key press that
// types something, the character message that follows it.
struct X11KeyMessages {
  bool valid;           // false for keys without a virtual key
  HostMessage key;      // HM_KEY_DOWN/UP or HM_SYSTEM_KEY_DOWN/UP with the Windows bits
  bool has_character;
  HostMessage character;  // HM_CHARACTER
  uint8_t typed;        // what the layout call reports for this key (0: nothing)
  bool dead;            // a dead key: it types nothing by itself
};

// Updates state first (the host reads it while handling the message, as Windows'
// keyboard state already shows the key), then builds the messages. A press of a key
// that is already down is an auto-repeat.
X11KeyMessages x11_key_event(X11KeyboardState* state, const X11Key& key, bool down);

// Forgets every held key (focus moved away: the releases go elsewhere).
void x11_clear_keyboard(X11KeyboardState* state);

}  // namespace zv
