// Keys arriving from X (evdev keycodes, US layout keysyms) give the key codes the same
// keys give on Windows (US layout), through the same window procedure.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/window_system.h"
#include "display/host/x11_keymap.h"
#include "input/keys.h"
#include "platform/platform.h"

namespace zv {
namespace {

// ---- Windows as it delivers keys: the US layout's characters and its key messages ----

struct LayoutChars {
  uint32_t vk;
  uint8_t plain, shift, ctrl, ctrl_shift;  // 0: no character
};

constexpr LayoutChars US_LAYOUT[] = {
    {0xBD, '-', '_', 0, 0x1F}, {0xBB, '=', '+', 0, 0},    {0x08, 8, 8, 0x7F, 0},     {0x09, 9, 9, 0, 0},
    {0xDB, '[', '{', 0x1B, 0}, {0xDD, ']', '}', 0x1D, 0}, {0x0D, 13, 13, 10, 0},     {0xBA, ';', ':', 0, 0},
    {0xDE, '\'', '"', 0, 0},   {0xC0, '`', '~', 0, 0},    {0xDC, '\\', '|', 0x1C, 0}, {0xBC, ',', '<', 0, 0},
    {0xBE, '.', '>', 0, 0},    {0xBF, '/', '?', 0, 0},    {0x6A, '*', '*', 0, 0},    {0x20, ' ', ' ', ' ', 0},
    {0x1B, 27, 27, 27, 0},     {0x6D, '-', '-', 0, 0},    {0x6B, '+', '+', 0, 0},    {0x6F, '/', '/', 0, 0},
    {0x6E, '.', '.', 0, 0},    {0x31, '1', '!', 0, 0},    {0x32, '2', '@', 0, 0},    {0x33, '3', '#', 0, 0},
    {0x34, '4', '$', 0, 0},    {0x35, '5', '%', 0, 0},    {0x36, '6', '^', 0, 0x1E}, {0x37, '7', '&', 0, 0},
    {0x38, '8', '*', 0, 0},    {0x39, '9', '(', 0, 0},    {0x30, '0', ')', 0, 0},
};

uint8_t windows_char(uint32_t vk, bool shift, bool ctrl, bool alt) {
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') return ctrl ? static_cast<uint8_t>(vk - 'A' + 1) : static_cast<uint8_t>(shift ? vk : vk + 32);
  if (vk >= 0x60 && vk <= 0x69) return ctrl ? 0 : static_cast<uint8_t>('0' + vk - 0x60);  // keypad, NumLock on
  for (const LayoutChars& c : US_LAYOUT) {
    if (c.vk == vk) return ctrl ? (shift ? c.ctrl_shift : c.ctrl) : (shift ? c.shift : c.plain);
  }
  return 0;
}

struct WindowsKey {
  uint32_t vk;
  uint32_t scan;
  bool extended;
};

// The Windows key state and the message a press or release of `key` makes.
struct WindowsKeyboard {
  uint8_t state[256] = {};
  HostMessage message(const WindowsKey& key, bool down) {
    bool was_down = state[key.vk] & 0x80;
    state[key.vk] = down ? 0x80 : 0;
    if (key.vk == 0x10) state[key.scan == 54 ? 0xA1 : 0xA0] = state[key.vk];
    if (key.vk == 0x11) state[key.extended ? 0xA3 : 0xA2] = state[key.vk];
    if (key.vk == 0x12) state[key.extended ? 0xA5 : 0xA4] = state[key.vk];
    bool alt = state[0x12] & 0x80, ctrl = state[0x11] & 0x80;
    bool system = (alt && !ctrl) || key.vk == 0x79 || key.vk == 0x12;
    uint64_t bits = 1 | (uint64_t{key.scan} << 16) | (key.extended ? 1ull << 24 : 0) | (alt ? 1ull << 29 : 0);
    if (!down || was_down) bits |= 1ull << 30;
    int32_t kind = down ? (system ? HM_SYSTEM_KEY_DOWN : HM_KEY_DOWN) : (system ? HM_SYSTEM_KEY_UP : HM_KEY_UP);
    return HostMessage{kind, key.vk, static_cast<int64_t>(bits)};
  }
};

// ---- X as it delivers keys: evdev keycodes and the US layout's keysyms ----

struct XKeysyms {
  uint32_t plain;
  uint32_t shifted;
};

XKeysyms us_keysyms(uint32_t keycode) {
  static const char* const digits = "1234567890";
  static const char* const shifted_digits = "!@#$%^&*()";
  struct Row {
    uint32_t keycode, plain, shifted;
  };
  static const Row rows[] = {
      {9, 0xFF1B, 0xFF1B},  {20, '-', '_'},       {21, '=', '+'},       {22, 0xFF08, 0xFF08},
      {23, 0xFF09, 0xFE20}, {34, '[', '{'},       {35, ']', '}'},       {36, 0xFF0D, 0xFF0D},
      {37, 0xFFE3, 0xFFE3}, {47, ';', ':'},       {48, '\'', '"'},      {49, '`', '~'},
      {50, 0xFFE1, 0xFFE1}, {51, '\\', '|'},      {59, ',', '<'},       {60, '.', '>'},
      {61, '/', '?'},       {62, 0xFFE2, 0xFFE2}, {63, 0xFFAA, 0xFFAA}, {64, 0xFFE9, 0xFFE9},
      {65, ' ', ' '},       {66, 0xFFE5, 0xFFE5}, {77, 0xFF7F, 0xFF7F}, {78, 0xFF14, 0xFF14},
      {82, 0xFFAD, 0xFFAD}, {86, 0xFFAB, 0xFFAB}, {95, 0xFFC8, 0xFFC8}, {96, 0xFFC9, 0xFFC9},
      {104, 0xFF8D, 0xFF8D}, {105, 0xFFE4, 0xFFE4}, {106, 0xFFAF, 0xFFAF}, {108, 0xFFEA, 0xFFEA},
      {110, 0xFF50, 0xFF50}, {111, 0xFF52, 0xFF52}, {112, 0xFF55, 0xFF55}, {113, 0xFF51, 0xFF51},
      {114, 0xFF53, 0xFF53}, {115, 0xFF57, 0xFF57}, {116, 0xFF54, 0xFF54}, {117, 0xFF56, 0xFF56},
      {118, 0xFF63, 0xFF63}, {119, 0xFFFF, 0xFFFF}, {133, 0xFFEB, 0xFFEB}, {134, 0xFFEC, 0xFFEC},
      {135, 0xFF67, 0xFF67},
  };
  static const char* const letter_rows[] = {"qwertyuiop", "asdfghjkl", "zxcvbnm"};
  static const uint32_t letter_starts[] = {24, 38, 52};
  if (keycode >= 10 && keycode <= 19) return {uint32_t(digits[keycode - 10]), uint32_t(shifted_digits[keycode - 10])};
  if (keycode >= 67 && keycode <= 76) return {0xFFBE + keycode - 67, 0xFFBE + keycode - 67};  // F1-F10
  for (int r = 0; r < 3; ++r) {
    uint32_t n = static_cast<uint32_t>(std::strlen(letter_rows[r]));
    if (keycode >= letter_starts[r] && keycode < letter_starts[r] + n) {
      uint32_t c = uint32_t(letter_rows[r][keycode - letter_starts[r]]);
      return {c, c - 32};
    }
  }
  // The keypad with NumLock on: digits and the point; Shift would give the editing keys.
  static const uint32_t keypad_digits[] = {7, 8, 9, 0, 4, 5, 6, 0, 1, 2, 3, 0, 10};
  if (keycode >= 79 && keycode <= 91 && keycode != 82 && keycode != 86) {
    uint32_t d = keypad_digits[keycode - 79];
    uint32_t sym = d == 10 ? 0xFFAE : 0xFFB0 + d;
    return {sym, sym};
  }
  for (const Row& row : rows) {
    if (row.keycode == keycode) return {row.plain, row.shifted};
  }
  return {0, 0};
}

// The evdev keycode and the Windows key of one row of VK_SCANCODE_TABLE.
struct PhysicalKey {
  uint32_t keycode;
  WindowsKey windows;
};

PhysicalKey physical_key(uint32_t scan, uint32_t vk) {
  struct Prefixed {
    uint32_t vk, keycode, windows_scan;
  };
  // Keys with the E0 prefix: their evdev codes lie beyond the main block.
  static const Prefixed prefixed[] = {
      {0x24, 110, 71}, {0x26, 111, 72}, {0x21, 112, 73}, {0x25, 113, 75}, {0x27, 114, 77},
      {0x23, 115, 79}, {0x28, 116, 80}, {0x22, 117, 81}, {0x2D, 118, 82}, {0x2E, 119, 83},
      {0x6F, 106, 53}, {0x90, 77, 69},  {0x5B, 133, 91}, {0x5C, 134, 92}, {0x5D, 135, 93},
  };
  for (const Prefixed& p : prefixed) {
    if (p.vk == vk) return {p.keycode, {vk, p.windows_scan, true}};
  }
  if (vk == 0x6D) return {82, {vk, 74, false}};  // keypad minus has its own scan code
  return {scan + 8, {vk, scan, false}};
}

// ---- The window procedure, fed from either side ----

struct Feed {
  const uint8_t* state;
  uint8_t typed;
  bool dead;
};
Feed feed;

const WindowSystem& test_system() {
  static WindowSystem s = [] {
    WindowSystem t{};
    t.get_cursor_pos = [](int32_t*, int32_t*) { return false; };
    t.client_rect_on_screen = [](void*, ScreenRect*) { return false; };
    t.keyboard_state = [](uint8_t state[256]) { std::memcpy(state, feed.state, 256); };
    t.vk_to_char = [](uint32_t vk) {
      return feed.dead ? -1 : static_cast<int32_t>(platform::virtual_key_char(vk));
    };
    t.to_ascii = [](uint32_t, uint32_t, const uint8_t*, uint8_t out[2]) {
      out[0] = feed.typed;
      return feed.typed ? 1 : 0;
    };
    return t;
  }();
  return s;
}

std::vector<int32_t> drain_keys() {
  std::vector<int32_t> keys;
  while (int32_t code = get_key()) keys.push_back(code);
  return keys;
}

void deliver(const HostMessage& m, const uint8_t* state, uint8_t typed, bool dead = false) {
  feed = Feed{state, typed, dead};
  handle_window_message(nullptr, m);
}

enum Modifier { PLAIN, SHIFT, CTRL, ALT };
const char* const MODIFIER_NAMES[] = {"plain", "Shift", "Ctrl", "Alt"};
const PhysicalKey MODIFIER_KEYS[] = {{0, {}}, {50, {0x10, 42, false}}, {37, {0x11, 29, false}}, {64, {0x12, 56, false}}};

// Presses the modifier, then the key (twice: the second press is an auto-repeat), and
// releases both; returns the key ring's codes.
std::vector<int32_t> windows_codes(const WindowsKey& key, Modifier mod) {
  WindowsKeyboard kb;
  auto press = [&](const WindowsKey& k, bool down) {
    HostMessage m = kb.message(k, down);
    bool shift = kb.state[0x10] & 0x80, ctrl = kb.state[0x11] & 0x80, alt = kb.state[0x12] & 0x80;
    uint8_t typed = windows_char(k.vk, shift, ctrl, alt);
    deliver(m, kb.state, typed);
    if (down && m.kind == HM_KEY_DOWN && typed) deliver(HostMessage{HM_CHARACTER, typed, 1}, kb.state, typed);
  };
  if (mod != PLAIN) press(MODIFIER_KEYS[mod].windows, true);
  press(key, true);
  press(key, true);
  press(key, false);
  if (mod != PLAIN) press(MODIFIER_KEYS[mod].windows, false);
  return drain_keys();
}

std::vector<int32_t> x11_codes(uint32_t keycode, Modifier mod, WindowsKey* seen = nullptr) {
  X11KeyboardState kb{};
  auto press = [&](uint32_t code, bool down) {
    XKeysyms syms = us_keysyms(code);
    bool shift = kb.vk[0x10] & 0x80;
    X11KeyMessages out = x11_key_event(&kb, X11Key{code, syms.plain, shift ? syms.shifted : syms.plain}, down);
    if (!out.valid) return;
    if (seen && code == keycode && down) {
      const uint64_t bits = static_cast<uint64_t>(out.key.lparam);
      *seen = WindowsKey{static_cast<uint32_t>(out.key.wparam), uint32_t((bits >> 16) & 0xFF), ((bits >> 24) & 1) != 0};
    }
    deliver(out.key, kb.vk, out.typed, out.dead);
    if (out.has_character) deliver(out.character, kb.vk, out.typed);
  };
  if (mod != PLAIN) press(MODIFIER_KEYS[mod].keycode, true);
  press(keycode, true);
  press(keycode, true);
  press(keycode, false);
  if (mod != PLAIN) press(MODIFIER_KEYS[mod].keycode, false);
  return drain_keys();
}

class X11Keys : public testing::Test {
 protected:
  void SetUp() override {
    previous = window_system();
    set_window_system(&test_system());
    // System keys count only in an active window; Alt+Enter must not switch anything.
    window_host.active = 1;
    window_host.flags = SCREEN_NO_SWITCH;
    drain_keys();
  }
  void TearDown() override { set_window_system(previous); }
  const WindowSystem* previous = nullptr;
};

bool is_modifier(uint32_t vk) { return vk == 0x10 || vk == 0x11 || vk == 0x12; }

void expect_same_codes(const PhysicalKey& key, const std::string& what) {
  WindowsKey seen{};
  x11_codes(key.keycode, PLAIN, &seen);
  EXPECT_EQ(seen.vk, key.windows.vk) << what;
  EXPECT_EQ(seen.scan, key.windows.scan) << what;
  EXPECT_EQ(seen.extended, key.windows.extended) << what;
  for (Modifier mod : {PLAIN, SHIFT, CTRL, ALT}) {
    if (mod != PLAIN && is_modifier(key.windows.vk)) continue;
    // Shift turns keypad digits into editing keys on both systems, but Windows then also
    // reports Shift as released, which X does not: that pair is not comparable.
    if (mod == SHIFT && key.windows.vk >= 0x60 && key.windows.vk <= 0x6E && key.windows.vk != 0x6A &&
        key.windows.vk != 0x6B && key.windows.vk != 0x6D)
      continue;
    EXPECT_EQ(x11_codes(key.keycode, mod), windows_codes(key.windows, mod)) << what << " " << MODIFIER_NAMES[mod];
  }
}

TEST_F(X11Keys, EveryKeyOfTheScancodeTableGivesTheWindowsCodes) {
  for (const ScancodeRow* row = VK_SCANCODE_TABLE; row->scancode != 0; ++row) {
    for (uint32_t vk : {uint32_t{row->vk}, uint32_t{row->vk2}}) {
      if (vk == 0) continue;
      PhysicalKey key = physical_key(row->scancode, vk);
      if (row->scancode == 54) key = PhysicalKey{62, {0x10, 54, false}};  // right Shift
      expect_same_codes(key, "scan " + std::to_string(row->scancode) + " vk " + std::to_string(vk));
    }
  }
}

TEST_F(X11Keys, RightHandTwinsOfTheModifiersAndKeypadEnter) {
  expect_same_codes({105, {0x11, 29, true}}, "right Ctrl");
  expect_same_codes({108, {0x12, 56, true}}, "right Alt");
  expect_same_codes({104, {0x0D, 28, true}}, "keypad Enter");
}

TEST_F(X11Keys, SampleCodes) {
  EXPECT_EQ(x11_codes(38, ALT), std::vector<int32_t>({0x1EFF, 0x1EFF}));  // Alt+A, pressed and repeated
  EXPECT_EQ(x11_codes(67, SHIFT), std::vector<int32_t>({0x54FF, 0x54FF}));  // Shift+F1
  EXPECT_EQ(x11_codes(114, CTRL), std::vector<int32_t>({0x74FF, 0x74FF}));  // Ctrl+Right
  EXPECT_EQ(x11_codes(38, CTRL), std::vector<int32_t>({1, 1}));            // Ctrl+A types 1
  EXPECT_EQ(x11_codes(70, ALT), std::vector<int32_t>({}));                 // Alt+F4 closes nothing
}

TEST(X11Keymap, LettersFollowTheLayoutOtherKeysTheirPlace) {
  // German layout: Z where US has Y; the digit row of French layouts keeps the digits' keys.
  EXPECT_EQ(x11_virtual_key(X11Key{29, 'z', 'z'}), 0x5Au);
  EXPECT_EQ(x11_virtual_key(X11Key{10, '&', '&'}), 0x31u);
  EXPECT_EQ(x11_virtual_key(X11Key{47, 'm', 'm'}), 0x4Du);  // M beside L on French keyboards
  EXPECT_EQ(x11_virtual_key(X11Key{79, 0xFF95, 0xFF95}), 0x24u);  // keypad Home, NumLock off
  EXPECT_EQ(x11_virtual_key(X11Key{79, 0xFF95, 0xFFB7}), 0x67u);  // keypad 7
  EXPECT_EQ(x11_virtual_key(X11Key{250, 'a', 'a'}), 0u);
}

TEST(X11Keymap, KeysymsToCodePage1252) {
  EXPECT_EQ(keysym_to_cp1252('a'), 'a');
  EXPECT_EQ(keysym_to_cp1252(0xF6), 0xF6);        // odiaeresis
  EXPECT_EQ(keysym_to_cp1252(0x20AC), 0x80);      // EuroSign
  EXPECT_EQ(keysym_to_cp1252(0x1000000 | 0x20AC), 0x80);
  EXPECT_EQ(keysym_to_cp1252(0x1000000 | 0x2026), 0x85);  // ellipsis
  EXPECT_EQ(keysym_to_cp1252(0x1000000 | 0x0416), 0);     // Cyrillic: none
  EXPECT_EQ(keysym_to_cp1252(0x13BD), 0x9C);      // oe
  EXPECT_EQ(keysym_to_cp1252(0xFFFF), 0);         // Delete types nothing, as on Windows
  EXPECT_EQ(keysym_to_cp1252(0xFFB3), '3');
}

TEST(X11Keymap, AltGrTypesTheThirdLevelAndCountsAsCtrlAlt) {
  X11KeyboardState kb{};
  x11_key_event(&kb, X11Key{108, 0xFE03, 0xFE03}, true);  // ISO_Level3_Shift
  EXPECT_TRUE(kb.vk[0xA2] & 0x80);
  EXPECT_TRUE(kb.vk[0xA5] & 0x80);
  X11KeyMessages q = x11_key_event(&kb, X11Key{24, 'q', '@'}, true);
  EXPECT_EQ(q.key.kind, HM_KEY_DOWN);  // not a system key
  ASSERT_TRUE(q.has_character);
  EXPECT_EQ(q.character.wparam, uint64_t{'@'});
  x11_key_event(&kb, X11Key{108, 0xFE03, 0xFE03}, false);
  EXPECT_FALSE(kb.vk[0x11] & 0x80);
  EXPECT_FALSE(kb.vk[0x12] & 0x80);
}

TEST(X11Keymap, DeadKeysTypeNothingAndRepeatsSetThePreviousStateBit) {
  X11KeyboardState kb{};
  X11KeyMessages dead = x11_key_event(&kb, X11Key{21, 0xFE51, 0xFE51}, true);  // dead_acute
  EXPECT_TRUE(dead.dead);
  EXPECT_FALSE(dead.has_character);
  X11KeyMessages a = x11_key_event(&kb, X11Key{38, 'a', 'a'}, true);
  EXPECT_FALSE(static_cast<uint64_t>(a.key.lparam) >> 30 & 1);
  a = x11_key_event(&kb, X11Key{38, 'a', 'a'}, true);
  EXPECT_TRUE(static_cast<uint64_t>(a.key.lparam) >> 30 & 1);
  x11_clear_keyboard(&kb);
  a = x11_key_event(&kb, X11Key{38, 'a', 'a'}, true);
  EXPECT_FALSE(static_cast<uint64_t>(a.key.lparam) >> 30 & 1);
}

}  // namespace
}  // namespace zv
