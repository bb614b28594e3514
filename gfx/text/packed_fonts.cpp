// Placeholder until tools/fontpack writes the real block: a single literal
// followed by the end code.
#include "gfx/text/packed_fonts.h"

namespace zv {

const uint8_t packed_fonts[] = {0x00, 0xF0, 0xFF};
const int32_t packed_fonts_size = sizeof(packed_fonts);

}  // namespace zv
