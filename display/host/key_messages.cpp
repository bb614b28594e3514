// Key and character messages: key codes for the key ring and key events for the event ring.
#include "display/host/code_page.h"
#include "display/host/window_host.h"
#include "display/host/window_procedure.h"
#include "display/host/window_system.h"
#include "input/keys.h"

namespace zv {

namespace {

constexpr HostResult DEFAULT_PROCESSING{true, 0};
constexpr HostResult HANDLED{false, 0};

bool down(const uint8_t state[256], uint32_t virtual_key) { return (state[virtual_key] & 0x80) != 0; }

// The console's control-key state layout, which translate_key reads.
uint32_t modifier_word(const uint8_t state[256], bool extended) {
  uint32_t word = 0;
  if (down(state, 0xA0) || down(state, 0x10) || down(state, 0xA1)) word = MOD_SHIFT;
  if (down(state, 0x11) || down(state, 0xA2)) word ^= MOD_LEFT_CTRL;
  if (down(state, 0xA3)) word ^= MOD_RIGHT_CTRL;
  if (down(state, 0x12) || down(state, 0xA4)) word ^= MOD_LEFT_ALT;
  if (down(state, 0xA5)) word ^= MOD_RIGHT_ALT;
  if (extended) word |= MOD_ENHANCED;
  return word;
}

// The byte the key types with the whole keyboard state, sign-extended as translate_key takes it.
uint32_t typed_character(const WindowSystem* ws, uint32_t virtual_key, uint32_t scan_code,
                         const uint8_t state[256]) {
  if (ws->vk_to_char(virtual_key) < 0) return 0;  // a dead key types nothing by itself
  uint8_t out[2] = {0, 0};
  if (ws->to_ascii(virtual_key, scan_code, state, out) != 1) return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(out[0])));
}

void post_repeated(int32_t code, int32_t count) {
  for (int32_t i = 0; i < count; ++i) post_key(code);
}

}  // namespace

// Plain key down/up, and system key down (keys pressed while Alt is held, and F10).
// A system key down counts as a press, so Alt combinations reach the key ring.
HostResult handle_key_message(void* window, const HostMessage& message) {
  (void)window;
  const WindowSystem* ws = window_system();
  if (!ws) return DEFAULT_PROCESSING;
  const uint32_t virtual_key = static_cast<uint32_t>(message.wparam & 0xFFFF);
  const uint64_t bits = static_cast<uint64_t>(message.lparam);
  const int32_t repeat_count = static_cast<int32_t>(bits & 0xFFFF);
  const uint32_t scan_code = static_cast<uint32_t>((bits >> 16) & 0xFF);
  const bool extended = (bits >> 24) & 1;
  const bool was_down = (bits >> 30) & 1;

  uint8_t state[256] = {};
  ws->keyboard_state(state);
  uint32_t character = typed_character(ws, virtual_key, scan_code, state);
  int32_t code = translate_key(character, scan_code, virtual_key, modifier_word(state, extended), 0);

  // F10 and Alt would open the system menu and Alt+F4 would close the window.
  bool swallowed = virtual_key == VK_F10_KEY || virtual_key == VK_ALT_KEY || code == KEY_CLOSE;
  InputEvent event{EV_KEY_UP, {vk_to_scancode(virtual_key), code >= 0 && code <= 255 ? code : 0, 0, 0}};
  if (message.kind == HM_KEY_DOWN || message.kind == HM_SYSTEM_KEY_DOWN) {
    event.kind = was_down ? EV_KEY_REPEAT : EV_KEY_DOWN;
    // Codes up to 255 come through the character message instead.
    bool may_post = message.kind == HM_KEY_DOWN || !swallowed;
    if (code > 255 && may_post) post_repeated(code, repeat_count);
  }
  if (swallowed) return HANDLED;
  post_event(event);
  return DEFAULT_PROCESSING;
}

HostResult handle_character_message(const HostMessage& message) {
  if (message.wparam > 255) return DEFAULT_PROCESSING;
  uint8_t converted = ansi_to_cp437(static_cast<uint8_t>(message.wparam));
  // Code 0 means "no key" in the ring, so a NUL character is not posted.
  if (converted != 0) post_repeated(converted, static_cast<int32_t>(static_cast<uint64_t>(message.lparam) & 0xFFFF));
  return DEFAULT_PROCESSING;
}

}  // namespace zv
