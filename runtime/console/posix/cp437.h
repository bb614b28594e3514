// Code page 437, the console's character set, and Unicode for a UTF-8 terminal.
#pragma once

#include <cstdint>

namespace zv {

// The glyph of a byte; bytes below 32 and 127 have pictures, 0 is a space.
uint16_t cp437_to_unicode(uint8_t byte);
// The byte of a typed character, -1 when code page 437 has none (or only as a control byte).
int32_t unicode_to_cp437(uint32_t code_point);
// The glyph of a byte in UTF-8; returns the number of bytes stored (1 to 3).
int32_t cp437_to_utf8(uint8_t byte, char out[3]);

}  // namespace zv
