// Palette entries: the colour table, the colour map of adapter-style modes and what is shown.
#include "gfx/core/palette.h"

#include <cstring>

#include "gfx/core/auto_lock.h"
#include "gfx/core/graphics_state.h"
#include "gfx/text/fonts.h"

namespace zv {

namespace {

struct ColourMap {
  int32_t count;
  uint8_t entries[16];
};

constexpr ColourMap MODE1_MAPS[4] = {
    {4, {0, 11, 13, 15}},  // reset argument -1
    {4, {0, 10, 12, 14}},  // -2
    {4, {0, 3, 5, 7}},     // -3
    {4, {0, 2, 4, 6}},     // -4 and below
};
constexpr ColourMap MODE2_MAP = {2, {0, 15}};
constexpr ColourMap IDENTITY_MAP = {16, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};
constexpr ColourMap MODE9_MAP = {16, {0, 1, 2, 3, 4, 5, 20, 7, 56, 57, 58, 59, 60, 61, 62, 63}};

const ColourMap* default_map(int32_t mode_num, int32_t reset_argument) {
  switch (mode_num) {
    case 1: return &MODE1_MAPS[reset_argument <= -4 ? 3 : -reset_argument - 1];
    case 2: return &MODE2_MAP;
    case 7:
    case 8: return &IDENTITY_MAP;
    case 9: return &MODE9_MAP;
    default: return nullptr;
  }
}

void show_colour(GraphicsState* gs, int32_t index, uint32_t rgb) {
  gs->device_palette[index] = rgb;
  if (gs->driver && gs->driver->set_palette_entry)
    gs->driver->set_palette_entry(index, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

int32_t palette_count(const GraphicsState* gs) { return gs->default_palette ? gs->default_palette->count : 256; }

void mark_all_dirty(GraphicsState* gs) {
  std::memset(gs->dirty, 1, static_cast<size_t>(gs->height) * static_cast<size_t>(gs->scanline_size));
}

void reset_palette(GraphicsState* gs, int32_t reset_argument) {
  const PaletteInfo* palette = gs->default_palette;
  if (!palette) return;
  int32_t count = palette->count;
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* rgb = palette->colours + 3 * i;
    gs->colour_table[i] = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
  }
  const ColourMap* map = default_map(gs->mode_num, reset_argument);
  int32_t shown = count < (1 << gs->depth) ? count : (1 << gs->depth);
  for (int32_t i = 0; i < shown; ++i) {
    uint32_t entry = static_cast<uint32_t>(i);
    if (map && i < map->count) {
      gs->colour_map[i] = map->entries[i];
      entry = map->entries[i];
    }
    show_colour(gs, i, gs->colour_table[entry]);
  }
}

}  // namespace

void palette_set_entry(int32_t index, uint32_t colour) {
  GraphicsState* gs = current_screen;
  if (!gs || gs->depth > 8) return;
  int32_t count = palette_count(gs);
  uint32_t rgb;
  if (count == 256) {
    index &= 255;
    auto scale = [](uint32_t v) { return (v & 63) * 255 / 63; };
    rgb = scale(colour) | scale(colour >> 8) << 8 | scale(colour >> 16) << 16;
  } else {
    index &= count - 1;
    uint32_t entry = colour & static_cast<uint32_t>(count - 1);
    // The colour map holds 16 entries, however large the palette: an index past them
    // (16 to 63 in mode 9) is shown and sent to the driver but has no map entry.
    if (index < 16) gs->colour_map[index] = static_cast<uint8_t>(entry);
    rgb = gs->colour_table[entry];
  }
  show_colour(gs, index, rgb);
}

void palette_statement(int32_t index, int32_t colour, int32_t green, int32_t blue) {
  GraphicsState* gs = current_screen;
  if (!gs || gs->depth > 8) return;
  auto_lock(gs);
  if (index >= 0) {
    uint32_t value = static_cast<uint32_t>(colour);
    if (green >= 0 && blue >= 0)
      value = (colour & 0xFF) >> 2 | ((green & 0xFF) >> 2) << 8 | ((blue & 0xFF) >> 2) << 16;
    palette_set_entry(index, value);
  } else {
    reset_palette(gs, index);
  }
  mark_all_dirty(gs);
  auto_unlock(gs);
}

void palette_using(const int32_t* colours, int32_t count) {
  GraphicsState* gs = current_screen;
  if (!gs || gs->depth > 8 || !colours) return;
  auto_lock(gs);
  int32_t entries = 1 << gs->depth;
  if (count < entries) entries = count;
  for (int32_t i = 0; i < entries; ++i)
    if (colours[i] >= 0) palette_set_entry(i, static_cast<uint32_t>(colours[i]));
  mark_all_dirty(gs);
  auto_unlock(gs);
}

void palette_reapply() {
  GraphicsState* gs = current_screen;
  if (!gs || !gs->driver || !gs->driver->set_palette_entry) return;
  for (int32_t i = 0; i < 256; ++i) {
    uint32_t rgb = gs->device_palette[i];
    gs->driver->set_palette_entry(i, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
  }
}

}  // namespace zv
