// Pixel layouts of the framebuffer and of display surfaces, and the plain conversion of one row.
// Every conversion is described by where each colour field sits, so one template serves all
// pairs of layouts, both for single pixels and (in vector_kernels.h) for vector lanes.
#pragma once

#include <cstdint>
#include <cstring>

namespace zv::blit {

struct Field {
  int32_t low;   // lowest bit of the field
  int32_t bits;  // width of the field
};

struct Layout {
  Field red, green, blue;
};

// Red and blue always have the same width, so the red-low variant of a layout only trades places.
constexpr Layout ordered(Layout layout, bool red_low) {
  return red_low ? Layout{layout.blue, layout.green, layout.red} : layout;
}

constexpr Layout LAYOUT_555{{10, 5}, {5, 5}, {0, 5}};
constexpr Layout LAYOUT_565{{11, 5}, {5, 6}, {0, 5}};
constexpr Layout LAYOUT_888{{16, 8}, {8, 8}, {0, 8}};
// device_palette entries are 0x00BBGGRR.
constexpr Layout LAYOUT_PALETTE = ordered(LAYOUT_888, true);

struct Format {
  Layout layout;
  int32_t bytes;  // bytes per pixel in memory
};

constexpr Format FORMAT_INDEXED{LAYOUT_PALETTE, 1};
constexpr Format FORMAT_565{LAYOUT_565, 2};
constexpr Format FORMAT_8888{LAYOUT_888, 4};
constexpr Format FORMAT_555{LAYOUT_555, 2};
// 24-bit surfaces hold the low three bytes of the 32-bit value, lowest first.
constexpr Format FORMAT_888{LAYOUT_888, 3};

// How a field moves: a narrower destination takes the top bits of the source field, a wider
// one gets the source bits at its top with zeros below.
struct FieldMove {
  int32_t from;  // lowest source bit taken
  int32_t to;    // where it lands
  int32_t bits;  // how many bits move
  constexpr uint32_t mask() const { return ((1u << bits) - 1u) << to; }
};

constexpr FieldMove field_move(Field from, Field to) {
  int32_t bits = from.bits < to.bits ? from.bits : to.bits;
  return {from.low + from.bits - bits, to.low + to.bits - bits, bits};
}

template <FieldMove M>
constexpr uint32_t move_field(uint32_t pixel) {
  uint32_t shifted = M.to >= M.from ? pixel << (M.to - M.from) : pixel >> (M.from - M.to);
  return shifted & M.mask();
}

// Only the colour fields of the source are read; everything else in the result is zero.
template <Layout From, Layout To>
constexpr uint32_t convert_pixel(uint32_t pixel) {
  return move_field<field_move(From.red, To.red)>(pixel) | move_field<field_move(From.green, To.green)>(pixel) |
         move_field<field_move(From.blue, To.blue)>(pixel);
}

inline uint32_t load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline uint32_t load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void store16(uint8_t* p, uint32_t v) {
  uint16_t w = static_cast<uint16_t>(v);
  std::memcpy(p, &w, 2);
}
inline void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }
inline void store24(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
}

// The 512-entry table through which 16-bit pixels become 24- or 32-bit values:
// value = table[p & 0xFF] | table[256 + (p >> 8)].
template <bool RedLow>
void build_conversion_table(uint32_t* table) {
  for (uint32_t i = 0; i < 256; ++i) {
    table[i] = convert_pixel<LAYOUT_565, ordered(LAYOUT_888, RedLow)>(i);
    table[256 + i] = convert_pixel<LAYOUT_565, ordered(LAYOUT_888, RedLow)>(i << 8);
  }
}
inline void build_conversion_table(uint32_t* table, bool red_low) {
  red_low ? build_conversion_table<true>(table) : build_conversion_table<false>(table);
}

// Converts width pixels of one row. lookup is the device palette for indexed sources, the
// conversion table for 16-bit sources into 24 or 32 bits, and unused otherwise.
template <Format Source, Format Dest, bool RedLow>
inline uint32_t convert_at(const uint8_t* source, int32_t i, const uint32_t* lookup) {
  constexpr Layout to = ordered(Dest.layout, RedLow);
  if constexpr (Source.bytes == 1) {
    return convert_pixel<Source.layout, to>(lookup[source[i]]);
  } else if constexpr (Source.bytes == 2 && Dest.bytes >= 3) {
    uint32_t p = load16(source + 2 * i);
    return lookup[p & 0xFF] | lookup[256 + (p >> 8)];
  } else if constexpr (Source.bytes == 2) {
    return convert_pixel<Source.layout, to>(load16(source + 2 * i));
  } else {
    return convert_pixel<Source.layout, to>(load32(source + 4 * i));
  }
}

template <Format Source, Format Dest, bool RedLow>
void convert_row(const uint8_t* source, uint8_t* destination, int32_t width, const uint32_t* lookup) {
  int32_t i = 0;
  if constexpr (Dest.bytes == 2) {
    // Two pixels per 32-bit store, first pixel in the low half; an odd last pixel alone.
    for (; i + 2 <= width; i += 2) {
      uint32_t pair = convert_at<Source, Dest, RedLow>(source, i, lookup) |
                      convert_at<Source, Dest, RedLow>(source, i + 1, lookup) << 16;
      store32(destination + 2 * i, pair);
    }
    if (i < width) store16(destination + 2 * i, convert_at<Source, Dest, RedLow>(source, i, lookup));
  } else if constexpr (Dest.bytes == 3) {
    for (; i < width; ++i) store24(destination + 3 * i, convert_at<Source, Dest, RedLow>(source, i, lookup));
  } else {
    for (; i < width; ++i) store32(destination + 4 * i, convert_at<Source, Dest, RedLow>(source, i, lookup));
  }
}

}  // namespace zv::blit
