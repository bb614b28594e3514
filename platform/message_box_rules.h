// What a message box of our own shows and how it answers, kept apart from any
// window system so that it can be tested alone.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace zv::platform {

// The box the system provides (MessageBoxA on Windows; our own dialog elsewhere).
int32_t system_message_box(const char* text, const char* caption, uint32_t style);

struct DialogButtons {
  int32_t count;
  const char* labels[2];
  int32_t results[2];
  int32_t escape_result;  // also the answer when the window is closed
};

// "Ja"/"Nein" for MB_YESNO, a single "OK" for every other style.
DialogButtons dialog_buttons(uint32_t style);

enum class DialogKey { Enter, Escape, Space, Tab, Left, Right, Character };

// The answer a key gives, or 0 when the box stays open. Enter and Space press the
// focused button; Tab and the arrows move the focus; J/Y and N answer a yes/no box.
int32_t dialog_key(const DialogButtons& buttons, DialogKey key, char character, int32_t* focused);

// Code page 1252 text, as the message box receives it, for display.
char32_t cp1252_to_unicode(uint8_t byte);
std::string cp1252_to_utf8(const char* text);

// Asks on a terminal: the caption and text, then "[J/n]" for a yes/no box (Enter
// means yes, the default button) or "[OK]" otherwise. The end of input answers No
// (or OK for a box without a choice).
int32_t terminal_message_box(const char* text, const char* caption, uint32_t style, std::FILE* in, std::FILE* out);

}  // namespace zv::platform
