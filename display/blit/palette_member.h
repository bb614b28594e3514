// The indexed-source member of the faster sets: the palette is converted into the surface's
// layout once per call, so each pixel costs one lookup and a store.
#pragma once

#include "display/blit/row_loop.h"

namespace zv::blit {

template <Format Dest, bool RedLow>
struct PaletteMember {
  static constexpr int32_t source_bytes = 1, dest_bytes = Dest.bytes;

  static bool prepare(const GraphicsState& gs, RowContext& context) {
    if (!gs.device_palette) return false;
    for (int32_t i = 0; i < 256; ++i)
      context.converted[i] = convert_pixel<LAYOUT_PALETTE, ordered(Dest.layout, RedLow)>(gs.device_palette[i]);
    context.lookup = context.converted;
    return true;
  }

  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext& context) {
    const uint32_t* t = context.lookup;
    int32_t i = 0;
    if constexpr (Dest.bytes == 2) {
      for (; i + 4 <= width; i += 4) {
        uint64_t four = t[source[i]] | t[source[i + 1]] << 16 | uint64_t{t[source[i + 2]]} << 32 |
                        uint64_t{t[source[i + 3]]} << 48;
        std::memcpy(destination + 2 * i, &four, 8);
      }
      for (; i + 2 <= width; i += 2) store32(destination + 2 * i, t[source[i]] | t[source[i + 1]] << 16);
      if (i < width) store16(destination + 2 * i, t[source[i]]);
    } else if constexpr (Dest.bytes == 3) {
      // Each 4-byte store's top byte is overwritten by the next pixel; the last one stores 3.
      for (; i + 1 < width; ++i) store32(destination + 3 * i, t[source[i]]);
      store24(destination + 3 * i, t[source[i]]);
    } else {
      // Eight indices per load, and two pixels per store, keep the loop to one table read per pixel.
      for (; i + 8 <= width; i += 8) {
        uint64_t indices;
        std::memcpy(&indices, source + i, 8);
        for (int32_t k = 0; k < 8; k += 2) {
          uint64_t two = t[(indices >> (8 * k)) & 0xFF] | uint64_t{t[(indices >> (8 * k + 8)) & 0xFF]} << 32;
          std::memcpy(destination + 4 * (i + k), &two, 8);
        }
      }
      for (; i < width; ++i) store32(destination + 4 * i, t[source[i]]);
    }
  }
};

template <Format Dest, bool RedLow>
constexpr BlitMember palette_member = member_of<PaletteMember<Dest, RedLow>>;

}  // namespace zv::blit
