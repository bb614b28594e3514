#include "display/host/x11_keymap.h"

#include <cstring>

#include "platform/message_box_rules.h"

namespace zv {

// keycode, scancode, extended, virtual key, keypad virtual key. The main block's
// keycodes are the scan codes + 8; the keys with the E0 prefix follow.
const X11KeycodeRow X11_KEYCODE_TABLE[X11_KEYCODE_ROWS] = {
    {9, 1, 0, 0x1B, 0},      // Esc
    {10, 2, 0, 0x31, 0},     // 1
    {11, 3, 0, 0x32, 0},     // 2
    {12, 4, 0, 0x33, 0},     // 3
    {13, 5, 0, 0x34, 0},     // 4
    {14, 6, 0, 0x35, 0},     // 5
    {15, 7, 0, 0x36, 0},     // 6
    {16, 8, 0, 0x37, 0},     // 7
    {17, 9, 0, 0x38, 0},     // 8
    {18, 10, 0, 0x39, 0},    // 9
    {19, 11, 0, 0x30, 0},    // 0
    {20, 12, 0, 0xBD, 0},    // -
    {21, 13, 0, 0xBB, 0},    // =
    {22, 14, 0, 0x08, 0},    // Backspace
    {23, 15, 0, 0x09, 0},    // Tab
    {24, 16, 0, 0x51, 0},    // Q
    {25, 17, 0, 0x57, 0},    // W
    {26, 18, 0, 0x45, 0},    // E
    {27, 19, 0, 0x52, 0},    // R
    {28, 20, 0, 0x54, 0},    // T
    {29, 21, 0, 0x59, 0},    // Y
    {30, 22, 0, 0x55, 0},    // U
    {31, 23, 0, 0x49, 0},    // I
    {32, 24, 0, 0x4F, 0},    // O
    {33, 25, 0, 0x50, 0},    // P
    {34, 26, 0, 0xDB, 0},    // [
    {35, 27, 0, 0xDD, 0},    // ]
    {36, 28, 0, 0x0D, 0},    // Enter
    {37, 29, 0, 0x11, 0},    // left Ctrl
    {38, 30, 0, 0x41, 0},    // A
    {39, 31, 0, 0x53, 0},    // S
    {40, 32, 0, 0x44, 0},    // D
    {41, 33, 0, 0x46, 0},    // F
    {42, 34, 0, 0x47, 0},    // G
    {43, 35, 0, 0x48, 0},    // H
    {44, 36, 0, 0x4A, 0},    // J
    {45, 37, 0, 0x4B, 0},    // K
    {46, 38, 0, 0x4C, 0},    // L
    {47, 39, 0, 0xBA, 0},    // ;
    {48, 40, 0, 0xDE, 0},    // apostrophe
    {49, 41, 0, 0xC0, 0},    // `
    {50, 42, 0, 0x10, 0},    // left Shift
    {51, 43, 0, 0xDC, 0},    // backslash
    {52, 44, 0, 0x5A, 0},    // Z
    {53, 45, 0, 0x58, 0},    // X
    {54, 46, 0, 0x43, 0},    // C
    {55, 47, 0, 0x56, 0},    // V
    {56, 48, 0, 0x42, 0},    // B
    {57, 49, 0, 0x4E, 0},    // N
    {58, 50, 0, 0x4D, 0},    // M
    {59, 51, 0, 0xBC, 0},    // ,
    {60, 52, 0, 0xBE, 0},    // .
    {61, 53, 0, 0xBF, 0},    // /
    {62, 54, 0, 0x10, 0},    // right Shift
    {63, 55, 0, 0x6A, 0},    // keypad *
    {64, 56, 0, 0x12, 0},    // left Alt
    {65, 57, 0, 0x20, 0},    // Space
    {66, 58, 0, 0x14, 0},    // Caps Lock
    {67, 59, 0, 0x70, 0},    // F1
    {68, 60, 0, 0x71, 0},    // F2
    {69, 61, 0, 0x72, 0},    // F3
    {70, 62, 0, 0x73, 0},    // F4
    {71, 63, 0, 0x74, 0},    // F5
    {72, 64, 0, 0x75, 0},    // F6
    {73, 65, 0, 0x76, 0},    // F7
    {74, 66, 0, 0x77, 0},    // F8
    {75, 67, 0, 0x78, 0},    // F9
    {76, 68, 0, 0x79, 0},    // F10
    {77, 69, 1, 0x90, 0},    // Num Lock
    {78, 70, 0, 0x91, 0},    // Scroll Lock
    {79, 71, 0, 0x24, 0x67}, // keypad 7 / Home
    {80, 72, 0, 0x26, 0x68}, // keypad 8 / Up
    {81, 73, 0, 0x21, 0x69}, // keypad 9 / Page Up
    {82, 74, 0, 0x6D, 0},    // keypad -
    {83, 75, 0, 0x25, 0x64}, // keypad 4 / Left
    {84, 76, 0, 0x0C, 0x65}, // keypad 5 / Clear
    {85, 77, 0, 0x27, 0x66}, // keypad 6 / Right
    {86, 78, 0, 0x6B, 0},    // keypad +
    {87, 79, 0, 0x23, 0x61}, // keypad 1 / End
    {88, 80, 0, 0x28, 0x62}, // keypad 2 / Down
    {89, 81, 0, 0x22, 0x63}, // keypad 3 / Page Down
    {90, 82, 0, 0x2D, 0x60}, // keypad 0 / Insert
    {91, 83, 0, 0x2E, 0x6E}, // keypad . / Delete
    {94, 86, 0, 0xE2, 0},    // the key beside left Shift on ISO keyboards
    {95, 87, 0, 0x7A, 0},    // F11
    {96, 88, 0, 0x7B, 0},    // F12
    {104, 28, 1, 0x0D, 0},   // keypad Enter
    {105, 29, 1, 0x11, 0},   // right Ctrl
    {106, 53, 1, 0x6F, 0},   // keypad /
    {107, 55, 1, 0x2C, 0},   // Print Screen
    {108, 56, 1, 0x12, 0},   // right Alt (or AltGr)
    {110, 71, 1, 0x24, 0},   // Home
    {111, 72, 1, 0x26, 0},   // Up
    {112, 73, 1, 0x21, 0},   // Page Up
    {113, 75, 1, 0x25, 0},   // Left
    {114, 77, 1, 0x27, 0},   // Right
    {115, 79, 1, 0x23, 0},   // End
    {116, 80, 1, 0x28, 0},   // Down
    {117, 81, 1, 0x22, 0},   // Page Down
    {118, 82, 1, 0x2D, 0},   // Insert
    {119, 83, 1, 0x2E, 0},   // Delete
    {127, 69, 0, 0x13, 0},   // Pause
    {133, 91, 1, 0x5B, 0},   // left Windows key
    {134, 92, 1, 0x5C, 0},   // right Windows key
    {135, 93, 1, 0x5D, 0},   // Menu
};

namespace {

constexpr uint32_t VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12;
constexpr uint32_t VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3;
constexpr uint32_t VK_LMENU = 0xA4, VK_RMENU = 0xA5;
constexpr uint8_t DOWN = 0x80;

constexpr uint32_t SCAN_RIGHT_SHIFT = 54;
constexpr uint64_t EXTENDED_BIT = 1ull << 24;
constexpr uint64_t ALT_CONTEXT_BIT = 1ull << 29;
constexpr uint64_t PREVIOUS_STATE_BIT = 1ull << 30;
constexpr uint64_t TRANSITION_BIT = 1ull << 31;

// Keysyms of keys that type a character of their own (keypad and editing keys).
struct KeysymChar {
  uint32_t keysym;
  uint8_t character;
};
constexpr KeysymChar KEYSYM_CHARS[] = {
    {0xFF08, 8},  {0xFF09, 9},  {0xFE20, 9},  {0xFF0D, 13}, {0xFF1B, 27}, {0xFF8D, 13},
    {0xFF80, ' '}, {0xFF89, 9}, {0xFFBD, '='}, {0xFFAA, '*'}, {0xFFAB, '+'}, {0xFFAC, ','},
    {0xFFAD, '-'}, {0xFFAE, '.'}, {0xFFAF, '/'},
    // Letters of code page 1252 beyond Latin-1 that have keysyms of their own
    {0x01A9, 0x8A}, {0x01B9, 0x9A}, {0x01AE, 0x8E}, {0x01BE, 0x9E}, {0x13BC, 0x8C}, {0x13BD, 0x9C},
    {0x13BE, 0x9F}, {0x20AC, 0x80},
};

constexpr uint32_t XK_KP_0 = 0xFFB0, XK_KP_9 = 0xFFB9, XK_KP_DECIMAL = 0xFFAE;
constexpr uint32_t XK_ISO_LEVEL3_SHIFT = 0xFE03, XK_MODE_SWITCH = 0xFF7E;
constexpr uint32_t UNICODE_KEYSYM = 0x01000000;

uint8_t unicode_to_cp1252(uint32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<uint8_t>(code);
  for (uint32_t byte = 0x80; byte < 0xA0; ++byte) {
    if (platform::cp1252_to_unicode(static_cast<uint8_t>(byte)) == code) return static_cast<uint8_t>(byte);
  }
  return 0;
}

uint32_t letter_vk(uint32_t keysym) {
  if (keysym >= 'a' && keysym <= 'z') return keysym - 'a' + 'A';
  if (keysym >= 'A' && keysym <= 'Z') return keysym;
  return 0;
}

bool down(const X11KeyboardState& s, uint32_t vk) { return (s.vk[vk] & DOWN) != 0; }

// The control characters of the Windows US layout: letters (with or without Shift) and
// the few keys whose Ctrl column holds one.
uint8_t control_character(uint32_t vk, bool shift) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<uint8_t>(vk - 'A' + 1);
  if (shift) {
    if (vk == '6') return 0x1E;
    if (vk == 0xBD) return 0x1F;  // - gives the unit separator with Shift
    return 0;
  }
  switch (vk) {
    case 0xDB: return 0x1B;  // [
    case 0xDD: return 0x1D;  // ]
    case 0xDC: case 0xE2: return 0x1C;  // backslash
    case 0x08: return 0x7F;
    case 0x0D: return 0x0A;
    case 0x1B: return 0x1B;
    case 0x20: return ' ';
    default: return 0;
  }
}

void set_key(X11KeyboardState* s, uint32_t vk, bool is_down) { s->vk[vk] = is_down ? DOWN : 0; }

// Windows keeps left and right modifiers apart and the generic entry as their union.
void track_virtual_key(X11KeyboardState* s, const X11KeycodeRow& row, uint32_t vk, bool is_down, bool altgr) {
  switch (vk) {
    case VK_SHIFT:
      set_key(s, row.scancode == SCAN_RIGHT_SHIFT ? VK_RSHIFT : VK_LSHIFT, is_down);
      break;
    case VK_CONTROL:
      set_key(s, row.extended ? VK_RCONTROL : VK_LCONTROL, is_down);
      break;
    case VK_MENU:
      set_key(s, row.extended ? VK_RMENU : VK_LMENU, is_down);
      if (altgr) {
        s->altgr_down = is_down ? 1 : 0;
        set_key(s, VK_LCONTROL, is_down);
      }
      break;
    default:
      set_key(s, vk, is_down);
      return;
  }
  set_key(s, VK_SHIFT, down(*s, VK_LSHIFT) || down(*s, VK_RSHIFT));
  set_key(s, VK_CONTROL, down(*s, VK_LCONTROL) || down(*s, VK_RCONTROL));
  set_key(s, VK_MENU, down(*s, VK_LMENU) || down(*s, VK_RMENU));
}

}  // namespace

const X11KeycodeRow* x11_keycode_row(uint32_t keycode) {
  for (const X11KeycodeRow& row : X11_KEYCODE_TABLE) {
    if (row.keycode == keycode) return &row;
  }
  return nullptr;
}

uint32_t x11_virtual_key(const X11Key& key) {
  const X11KeycodeRow* row = x11_keycode_row(key.keycode);
  if (!row) return 0;
  // Letters follow the layout (Z and Y trade places on German keyboards); other keys keep
  // their place, as the digit row does on French keyboards.
  if (!row->extended && row->keypad_vk == 0 && row->scancode >= 16 && row->scancode <= 53) {
    if (uint32_t vk = letter_vk(key.base_keysym)) return vk;
  }
  if (row->keypad_vk != 0) {
    bool digit = (key.keysym >= XK_KP_0 && key.keysym <= XK_KP_9) || key.keysym == XK_KP_DECIMAL;
    return digit ? row->keypad_vk : row->vk;
  }
  return row->vk;
}

uint8_t keysym_to_cp1252(uint32_t keysym) {
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF)) return static_cast<uint8_t>(keysym);
  if ((keysym & 0xFF000000u) == UNICODE_KEYSYM) return unicode_to_cp1252(keysym & 0x00FFFFFFu);
  if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<uint8_t>('0' + (keysym - XK_KP_0));
  for (const KeysymChar& entry : KEYSYM_CHARS) {
    if (entry.keysym == keysym) return entry.character;
  }
  return 0;
}

bool is_dead_keysym(uint32_t keysym) { return keysym >= 0xFE50 && keysym <= 0xFE8F; }

bool is_altgr_keysym(uint32_t keysym) { return keysym == XK_ISO_LEVEL3_SHIFT || keysym == XK_MODE_SWITCH; }

uint8_t x11_typed_character(const X11KeyboardState& state, uint32_t vk, uint32_t keysym) {
  const bool ctrl = down(state, VK_CONTROL);
  const bool alt = down(state, VK_MENU);
  if (state.altgr_down) return keysym_to_cp1252(keysym);  // the layout's third level
  if (ctrl && alt) return 0;
  if (ctrl) return control_character(vk, down(state, VK_SHIFT));
  return keysym_to_cp1252(keysym);
}

X11KeyMessages x11_key_event(X11KeyboardState* state, const X11Key& key, bool is_down) {
  X11KeyMessages out{};
  const X11KeycodeRow* row = x11_keycode_row(key.keycode);
  const uint32_t vk = x11_virtual_key(key);
  if (!row || vk == 0 || key.keycode > 255) return out;
  out.valid = true;

  const bool was_down = state->keycode[key.keycode] != 0;
  state->keycode[key.keycode] = is_down ? 1 : 0;
  track_virtual_key(state, *row, vk, is_down, is_altgr_keysym(key.keysym) || is_altgr_keysym(key.base_keysym));

  const bool alt = down(*state, VK_MENU) && !state->altgr_down;
  const bool ctrl = down(*state, VK_CONTROL) && !state->altgr_down;
  // Windows sends keys pressed with Alt (and F10, and Alt itself) as system keys.
  const bool system = (alt && !ctrl) || vk == VK_F10_KEY || (vk == VK_MENU && !state->altgr_down);
  uint64_t bits = 1 | (uint64_t{row->scancode} << 16);
  if (row->extended) bits |= EXTENDED_BIT;
  if (alt) bits |= ALT_CONTEXT_BIT;
  if (is_down) {
    if (was_down) bits |= PREVIOUS_STATE_BIT;
    out.key.kind = system ? HM_SYSTEM_KEY_DOWN : HM_KEY_DOWN;
  } else {
    bits |= PREVIOUS_STATE_BIT | TRANSITION_BIT;
    out.key.kind = system ? HM_SYSTEM_KEY_UP : HM_KEY_UP;
  }
  out.key.wparam = vk;
  out.key.lparam = static_cast<int64_t>(bits);

  out.dead = is_dead_keysym(key.keysym);
  out.typed = out.dead ? 0 : x11_typed_character(*state, vk, key.keysym);
  // Characters of system keys go to the system menu on Windows, not to the program.
  if (is_down && !system && out.typed != 0) {
    out.has_character = true;
    out.character = HostMessage{HM_CHARACTER, out.typed, 1};
  }
  return out;
}

void x11_clear_keyboard(X11KeyboardState* state) { std::memset(state, 0, sizeof *state); }

}  // namespace zv
