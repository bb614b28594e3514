// Terminal key sequences (xterm style, as tmux and most terminals send them) to console
// key events; SGR mouse reports to console mouse events.
#include "input/console/posix/terminal_key_decoder.h"

#include "input/keys.h"
#include "runtime/console/posix/cp437.h"

namespace zv {

namespace {

constexpr uint8_t ESC = 0x1B;

struct NamedKey {
  uint16_t virtual_key;
  uint8_t scan_code;
  bool enhanced;  // a key of the cursor block
};

constexpr NamedKey KEY_UP = {0x26, 72, true};
constexpr NamedKey KEY_DOWN = {0x28, 80, true};
constexpr NamedKey KEY_RIGHT = {0x27, 77, true};
constexpr NamedKey KEY_LEFT = {0x25, 75, true};
constexpr NamedKey KEY_HOME = {0x24, 71, true};
constexpr NamedKey KEY_END = {0x23, 79, true};
constexpr NamedKey KEY_INSERT = {0x2D, 82, true};
constexpr NamedKey KEY_DELETE = {0x2E, 83, true};
constexpr NamedKey KEY_PAGE_UP = {0x21, 73, true};
constexpr NamedKey KEY_PAGE_DOWN = {0x22, 81, true};
constexpr NamedKey KEY_F1 = {0x70, 59, false};
constexpr NamedKey KEY_F2 = {0x71, 60, false};
constexpr NamedKey KEY_F3 = {0x72, 61, false};
constexpr NamedKey KEY_F4 = {0x73, 62, false};
constexpr NamedKey NO_KEY = {0, 0, false};

// Final letters of CSI and SS3 sequences.
NamedKey letter_key(uint8_t letter) {
  switch (letter) {
    case 'A': return KEY_UP;
    case 'B': return KEY_DOWN;
    case 'C': return KEY_RIGHT;
    case 'D': return KEY_LEFT;
    case 'H': return KEY_HOME;
    case 'F': return KEY_END;
    case 'P': return KEY_F1;
    case 'Q': return KEY_F2;
    case 'R': return KEY_F3;
    case 'S': return KEY_F4;
    default: return NO_KEY;
  }
}

// CSI number ~ sequences, by number.
NamedKey tilde_key(int32_t number) {
  switch (number) {
    case 1: case 7: return KEY_HOME;
    case 2: return KEY_INSERT;
    case 3: return KEY_DELETE;
    case 4: case 8: return KEY_END;
    case 5: return KEY_PAGE_UP;
    case 6: return KEY_PAGE_DOWN;
    case 11: return KEY_F1;
    case 12: return KEY_F2;
    case 13: return KEY_F3;
    case 14: return KEY_F4;
    case 15: return {0x74, 63, false};  // F5
    case 17: return {0x75, 64, false};
    case 18: return {0x76, 65, false};
    case 19: return {0x77, 66, false};
    case 20: return {0x78, 67, false};
    case 21: return {0x79, 68, false};  // F10
    case 23: return {0x7A, 87, false};  // F11
    case 24: return {0x7B, 88, false};  // F12
    default: return NO_KEY;
  }
}

// The xterm modifier parameter: 1 + (1 Shift, 2 Alt, 4 Ctrl).
uint32_t modifier_state(int32_t parameter) {
  const int32_t bits = parameter > 1 ? parameter - 1 : 0;
  uint32_t state = 0;
  if (bits & 1) state |= MOD_SHIFT;
  if (bits & 2) state |= MOD_LEFT_ALT;
  if (bits & 4) state |= MOD_LEFT_CTRL;
  return state;
}

ConsoleInputRecord key_record(uint16_t virtual_key, uint16_t scan_code, uint8_t character, uint32_t state) {
  ConsoleInputRecord record{};
  record.event_type = CONSOLE_KEY_EVENT;
  record.key = {1, 1, virtual_key, scan_code, character, state};
  return record;
}

ConsoleInputRecord named_record(const NamedKey& key, uint32_t state) {
  return key_record(key.virtual_key, key.scan_code, 0, state | (key.enhanced ? MOD_ENHANCED : 0));
}

// Printable characters of a US keyboard that need Shift, with the key that makes them.
struct ShiftedChar {
  uint8_t character;
  uint8_t virtual_key;
};
constexpr ShiftedChar SHIFTED_CHARS[] = {
    {'!', '1'}, {'@', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'}, {'^', '6'}, {'&', '7'}, {'*', '8'},
    {'(', '9'}, {')', '0'}, {'_', 0xBD}, {'+', 0xBB}, {'{', 0xDB}, {'}', 0xDD}, {'|', 0xDC}, {':', 0xBA},
    {'"', 0xDE}, {'<', 0xBC}, {'>', 0xBE}, {'?', 0xBF}, {'~', 0xC0},
};
constexpr ShiftedChar PLAIN_CHARS[] = {
    {' ', 0x20}, {'-', 0xBD}, {'=', 0xBB}, {'[', 0xDB}, {']', 0xDD}, {'\\', 0xDC}, {';', 0xBA},
    {'\'', 0xDE}, {',', 0xBC}, {'.', 0xBE}, {'/', 0xBF}, {'`', 0xC0},
};

// A typed byte below 128 as the key that makes it.
ConsoleInputRecord ascii_record(uint8_t c) {
  uint16_t vk = 0;
  uint32_t state = 0;
  uint8_t character = c;
  if (c >= 'a' && c <= 'z') {
    vk = static_cast<uint16_t>(c - 'a' + 'A');
  } else if (c >= 'A' && c <= 'Z') {
    vk = c;
    state = MOD_SHIFT;
  } else if (c >= '0' && c <= '9') {
    vk = c;
  } else if (c == 13) {
    vk = 0x0D;
  } else if (c == 10) {
    vk = 0x0D;  // Ctrl+Enter
    state = MOD_LEFT_CTRL;
  } else if (c == 9) {
    vk = 0x09;
  } else if (c == 127 || c == 8) {
    vk = 0x08;  // Backspace
    character = 8;
  } else if (c == ESC) {
    vk = 0x1B;
  } else if (c == 0) {
    vk = 0x20;  // Ctrl+Space
    state = MOD_LEFT_CTRL;
  } else if (c >= 1 && c <= 26) {
    vk = static_cast<uint16_t>('A' + c - 1);
    state = MOD_LEFT_CTRL;
  } else if (c >= 28 && c <= 31) {
    constexpr uint8_t CONTROL_KEYS[] = {0xDC, 0xDD, '6', 0xBD};  // Ctrl+\ ] ^ _
    vk = CONTROL_KEYS[c - 28];
    state = MOD_LEFT_CTRL | (c >= 30 ? MOD_SHIFT : 0);
  } else {
    for (const ShiftedChar& s : SHIFTED_CHARS)
      if (s.character == c) vk = s.virtual_key, state = MOD_SHIFT;
    for (const ShiftedChar& s : PLAIN_CHARS)
      if (s.character == c) vk = s.virtual_key;
  }
  return key_record(vk, vk_to_scancode(vk), character, state);
}

// Parameters of a CSI sequence: up to three numbers separated by ';'.
struct CsiSequence {
  int32_t length;  // bytes including ESC [ and the final byte; 0 when incomplete
  bool private_marker;  // '<' after the '['
  int32_t params[3];
  int32_t count;
  uint8_t final_byte;
};

CsiSequence parse_csi(const uint8_t* bytes, int32_t length) {
  CsiSequence csi{};
  int32_t i = 2;
  if (i < length && bytes[i] == '<') {
    csi.private_marker = true;
    ++i;
  }
  int32_t value = 0;
  bool digits = false;
  for (; i < length; ++i) {
    const uint8_t b = bytes[i];
    if (b >= '0' && b <= '9') {
      if (value < 100000) value = value * 10 + (b - '0');
      digits = true;
    } else if (b == ';') {
      if (csi.count < 3) csi.params[csi.count++] = value;
      value = 0;
      digits = false;
    } else if (b >= 0x40 && b <= 0x7E) {
      if ((digits || csi.count > 0) && csi.count < 3) csi.params[csi.count++] = value;
      csi.final_byte = b;
      csi.length = i + 1;
      return csi;
    } else if (b < 0x20 || b > 0x3F) {
      csi.length = i;  // broken off: use what came so far as an unknown sequence
      return csi;
    }
  }
  return csi;
}

ConsoleInputRecord mouse_record(TerminalKeyDecoder* decoder, const CsiSequence& csi) {
  ConsoleInputRecord record{};
  record.event_type = CONSOLE_MOUSE_EVENT;
  const int32_t code = csi.params[0];
  ConsoleMouseEvent& mouse = record.mouse;
  mouse.x = static_cast<int16_t>(csi.params[1] > 0 ? csi.params[1] - 1 : 0);
  mouse.y = static_cast<int16_t>(csi.params[2] > 0 ? csi.params[2] - 1 : 0);
  if (code & 4) mouse.control_state |= MOD_SHIFT;
  if (code & 8) mouse.control_state |= MOD_LEFT_ALT;
  if (code & 16) mouse.control_state |= MOD_LEFT_CTRL;
  if (code & 64) {
    mouse.event_flags = CONSOLE_MOUSE_WHEELED;
    const int16_t delta = (code & 1) ? -120 : 120;
    mouse.button_state = decoder->buttons | (static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16);
    return record;
  }
  constexpr uint32_t BUTTON_OF[] = {1, 4, 2, 0};  // left, middle, right, none
  const uint32_t button = BUTTON_OF[code & 3];
  if (code & 32) {
    mouse.event_flags = CONSOLE_MOUSE_MOVED;
  } else if (csi.final_byte == 'm') {
    decoder->buttons &= ~button;
  } else {
    decoder->buttons |= button;
  }
  mouse.button_state = decoder->buttons;
  return record;
}

// An ESC-led sequence: CSI, SS3, or Alt with the key after it.
int32_t decode_escape(TerminalKeyDecoder* decoder, const uint8_t* bytes, int32_t length, bool final,
                      ConsoleInputRecord* record, bool* produced) {
  if (length == 1) {
    if (!final) return 0;
    *record = ascii_record(ESC);
    *produced = true;
    return 1;
  }
  // A lone "ESC [" at the end is Alt+[.
  if (bytes[1] == '[' && (length > 2 || !final)) {
    const CsiSequence csi = parse_csi(bytes, length);
    if (csi.length == 0) {
      if (!final) return 0;
      return length;  // an unfinished sequence at the very end: dropped
    }
    if (csi.private_marker && (csi.final_byte == 'M' || csi.final_byte == 'm') && csi.count == 3) {
      *record = mouse_record(decoder, csi);
      *produced = true;
      return csi.length;
    }
    NamedKey key = NO_KEY;
    uint32_t state = 0;
    if (csi.final_byte == '~') {
      key = tilde_key(csi.params[0]);
      state = modifier_state(csi.count > 1 ? csi.params[1] : 0);
    } else if (csi.final_byte == 'Z') {
      *record = key_record(0x09, 15, 9, MOD_SHIFT);  // Shift+Tab
      *produced = true;
      return csi.length;
    } else if (!csi.private_marker) {
      key = letter_key(csi.final_byte);
      state = modifier_state(csi.count > 1 ? csi.params[1] : 0);
    }
    if (key.virtual_key) {
      *record = named_record(key, state);
      *produced = true;
    }
    return csi.length;
  }
  if (bytes[1] == 'O') {
    if (length == 2) {
      if (!final) return 0;
    } else {
      const NamedKey key = letter_key(bytes[2]);
      if (key.virtual_key) {
        *record = named_record(key, 0);
        *produced = true;
        return 3;
      }
    }
  }
  *produced = true;
  if (bytes[1] >= 0x80 || bytes[1] == ESC) {
    *record = ascii_record(ESC);  // Esc itself; what follows is decoded on its own
    return 1;
  }
  // Alt with a key: ESC and the key's byte.
  *record = ascii_record(bytes[1]);
  record->key.control_state |= MOD_LEFT_ALT;
  return 2;
}

// The length of a UTF-8 sequence from its first byte; 1 for a stray byte.
int32_t utf8_length(uint8_t b) {
  if (b >= 0xF0 && b <= 0xF7) return 4;
  if (b >= 0xE0) return b <= 0xEF ? 3 : 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  return 1;
}

}  // namespace

int32_t decode_terminal_event(TerminalKeyDecoder* decoder, const uint8_t* bytes, int32_t length, bool final,
                              ConsoleInputRecord* record, bool* produced) {
  *produced = false;
  if (!bytes || length <= 0) return 0;
  const uint8_t first = bytes[0];
  if (first == ESC) return decode_escape(decoder, bytes, length, final, record, produced);
  if (first < 0x80) {
    *record = ascii_record(first);
    *produced = true;
    return 1;
  }
  const int32_t n = utf8_length(first);
  if (n == 1) return 1;  // not UTF-8: dropped
  if (length < n) return final ? length : 0;
  uint32_t code_point = first & (0x7F >> n);
  for (int32_t i = 1; i < n; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return i;  // broken sequence: dropped up to here
    code_point = (code_point << 6) | (bytes[i] & 0x3F);
  }
  const int32_t character = unicode_to_cp437(code_point);
  if (character >= 0) {
    *record = key_record(0, 0, static_cast<uint8_t>(character), 0);
    *produced = true;
  }
  return n;
}

}  // namespace zv
