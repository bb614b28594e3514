// Integer enlargement of converted rows, for back-ends that show the picture scaled.
#pragma once

#include <cstdint>

namespace zv {

// Copies `rows` rows of `width` pixels of `bytes` (1 to 4) each: every pixel widened to
// `scale` pixels and every row repeated `scale` times, so destination receives
// rows * scale rows of width * scale pixels. Nothing happens for arguments out of range.
void widen_rows(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                int32_t width, int32_t rows, int32_t bytes, int32_t scale);

// The same with the plain loops alone, whatever the processor offers (for comparisons).
void widen_rows_plain(const uint8_t* source, int32_t source_pitch, uint8_t* destination, int32_t destination_pitch,
                      int32_t width, int32_t rows, int32_t bytes, int32_t scale);

}  // namespace zv
