// Palettes of screens with 8 bits per pixel or fewer.
#pragma once

#include <cstdint>

namespace zv {

// 256-colour palettes: colour is 0x00BBGGRR with 6-bit channels. Smaller palettes:
// colour picks an entry of the mode's full colour table.
void palette_set_entry(int32_t index, uint32_t colour);
// index >= 0 sets one entry (from three 8-bit channels when green and blue are not
// negative); a negative index restores the mode's default palette.
void palette_statement(int32_t index, int32_t colour, int32_t green, int32_t blue);
// Sets entry i from colours[i] for each i below 2^depth and count; negative entries are skipped.
void palette_using(const int32_t* colours, int32_t count);
// Sends every shown colour to the driver again (after it rebuilt its surface).
void palette_reapply();

}  // namespace zv
