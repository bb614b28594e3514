// Bytes from a terminal in key mode become console input events with the virtual keys,
// scan codes and modifier states that the Windows console reports for the same keys.
#pragma once

#include <cstdint>

#include "input/console/console_input.h"

namespace zv {

struct TerminalKeyDecoder {
  uint32_t buttons;  // mouse buttons held, as the console's button bits
};

// Decodes the event at the start of bytes into *record. Returns the bytes used, or 0 when
// they begin a sequence that is not complete yet and more may follow (final false). A
// sequence that gives no event (an unknown one, a character without a code page 437 form)
// is used up with *produced false. Mouse positions are terminal cells, 0-based.
int32_t decode_terminal_event(TerminalKeyDecoder* decoder, const uint8_t* bytes, int32_t length, bool final,
                              ConsoleInputRecord* record, bool* produced);

}  // namespace zv
