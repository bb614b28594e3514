// The numbered screen modes.
#include "gfx/core/screen.h"
#include "gfx/text/fonts.h"

namespace zv {

// Mode 12 takes the 256-colour palette although its depth is 4.
constexpr ModeInfo mode_table[MODE_COUNT] = {
    // width height depth scanline palette       font        text_w text_h
    {320, 200, 2, 1, &palette_16, &font_8x8, 40, 25},     // 1
    {640, 200, 1, 2, &palette_16, &font_8x8, 80, 25},     // 2
    {0, 0, 0, 0, nullptr, nullptr, 0, 0},                 // 3
    {0, 0, 0, 0, nullptr, nullptr, 0, 0},                 // 4
    {0, 0, 0, 0, nullptr, nullptr, 0, 0},                 // 5
    {0, 0, 0, 0, nullptr, nullptr, 0, 0},                 // 6
    {320, 200, 4, 1, &palette_16, &font_8x8, 40, 25},     // 7
    {640, 200, 4, 2, &palette_16, &font_8x8, 80, 25},     // 8
    {640, 350, 4, 1, &palette_64, &font_8x14, 80, 25},    // 9
    {640, 350, 1, 1, &palette_2, &font_8x14, 80, 25},     // 10
    {640, 480, 1, 1, &palette_2, &font_8x16, 80, 30},     // 11
    {640, 480, 4, 1, &palette_256, &font_8x16, 80, 30},   // 12
    {320, 200, 8, 1, &palette_256, &font_8x8, 40, 25},    // 13
    {320, 240, 8, 1, &palette_256, &font_8x8, 40, 30},    // 14
    {400, 300, 8, 1, &palette_256, &font_8x8, 50, 37},    // 15
    {512, 384, 8, 1, &palette_256, &font_8x16, 64, 24},   // 16
    {640, 400, 8, 1, &palette_256, &font_8x16, 80, 25},   // 17
    {640, 480, 8, 1, &palette_256, &font_8x16, 80, 30},   // 18
    {800, 600, 8, 1, &palette_256, &font_8x16, 100, 37},  // 19
    {1024, 768, 8, 1, &palette_256, &font_8x16, 128, 48}, // 20
    {1280, 1024, 8, 1, &palette_256, &font_8x16, 160, 64},// 21
};

const ModeInfo* mode_info(int32_t mode) {
  if (mode < 1 || mode > MODE_COUNT) return nullptr;
  return &mode_table[mode - 1];
}

}  // namespace zv
