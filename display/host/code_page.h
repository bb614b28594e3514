// Typed characters arrive in the ANSI code page 1252; the key ring holds code page 437.
#pragma once

#include <cstdint>

namespace zv {

// Characters without a code page 437 form become their unaccented letter, else '?'.
uint8_t ansi_to_cp437(uint8_t ansi);

}  // namespace zv
