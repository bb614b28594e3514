// The conversions of the faster sets, written once over a set of vector operations (Ops).
// Included by each instruction-set file after it has switched its target on, so every function
// here is compiled for that instruction set. Everything is in an unnamed namespace: the same
// templates compiled for two targets must never be merged by the linker.
#pragma once

#include "display/blit/row_loop.h"

namespace zv::blit {
namespace {

// Ops supplies, for vectors V of Ops::lanes 32-bit lanes:
//   load, store (unaligned); and_, or_; splat<LaneBits>(x); shift<LaneBits, N> (N > 0 left,
//   N < 0 logical right); pack16(a, b): low halves of a's lanes then b's; widen16(v, lo, hi):
//   16-bit lanes zero-extended, in order; store24<Swap>(destination, a, b, c, d): the low three
//   bytes of each lane of a, b, c, d, packed, with the first and third exchanged when Swap.
template <class Ops, int32_t LaneBits, FieldMove M>
inline typename Ops::V move_lanes(typename Ops::V v) {
  return Ops::and_(Ops::template shift<LaneBits, M.to - M.from>(v), Ops::template splat<LaneBits>(M.mask()));
}

template <class Ops, int32_t LaneBits, Layout From, Layout To>
inline typename Ops::V convert_lanes(typename Ops::V v) {
  return Ops::or_(Ops::or_(move_lanes<Ops, LaneBits, field_move(From.red, To.red)>(v),
                           move_lanes<Ops, LaneBits, field_move(From.green, To.green)>(v)),
                  move_lanes<Ops, LaneBits, field_move(From.blue, To.blue)>(v));
}

// Converts blocks of four vectors' worth of pixels; the remainder goes through the plain
// conversion, so any width gives the plain set's bytes.
template <class Ops, Format Source, Format Dest, bool RedLow>
void vector_row(const uint8_t* source, uint8_t* destination, int32_t width, const uint32_t* lookup) {
  using V = typename Ops::V;
  constexpr int32_t vector_bytes = 4 * Ops::lanes;
  constexpr int32_t block = 4 * Ops::lanes;
  constexpr Layout to = ordered(Dest.layout, RedLow);
  int32_t i = 0;
  for (; i + block <= width; i += block) {
    const uint8_t* s = source + Source.bytes * i;
    uint8_t* d = destination + Dest.bytes * i;
    if constexpr (Source.bytes == 4 && Dest.bytes == 3) {
      // Only the low three bytes of each lane are stored, so the pixels need no masking.
      Ops::template store24<RedLow>(d, Ops::load(s), Ops::load(s + vector_bytes), Ops::load(s + 2 * vector_bytes),
                                    Ops::load(s + 3 * vector_bytes));
    } else if constexpr (Source.bytes == 2 && Dest.bytes == 2) {
      // 16 bits to 16 bits stays in 16-bit lanes.
      for (int32_t k = 0; k < 2; ++k)
        Ops::store(d + k * vector_bytes, convert_lanes<Ops, 16, Source.layout, to>(Ops::load(s + k * vector_bytes)));
    } else {
      V v[4];
      if constexpr (Source.bytes == 2) {
        Ops::widen16(Ops::load(s), v[0], v[1]);
        Ops::widen16(Ops::load(s + vector_bytes), v[2], v[3]);
      } else {
        for (int32_t k = 0; k < 4; ++k) v[k] = Ops::load(s + k * vector_bytes);
      }
      for (int32_t k = 0; k < 4; ++k) v[k] = convert_lanes<Ops, 32, Source.layout, to>(v[k]);
      if constexpr (Dest.bytes == 2) {
        Ops::store(d, Ops::pack16(v[0], v[1]));
        Ops::store(d + vector_bytes, Ops::pack16(v[2], v[3]));
      } else if constexpr (Dest.bytes == 3) {
        Ops::template store24<false>(d, v[0], v[1], v[2], v[3]);
      } else {
        for (int32_t k = 0; k < 4; ++k) Ops::store(d + k * vector_bytes, v[k]);
      }
    }
  }
  convert_row<Source, Dest, RedLow>(source + Source.bytes * i, destination + Dest.bytes * i, width - i, lookup);
}

template <class Ops, Format Source, Format Dest, bool RedLow>
struct VectorMember {
  static constexpr int32_t source_bytes = Source.bytes, dest_bytes = Dest.bytes;
  static bool prepare(const GraphicsState& gs, RowContext& context) { return plain_lookup<Source, Dest>(gs, context); }
  static void row(const uint8_t* source, uint8_t* destination, int32_t width, const RowContext& context) {
    vector_row<Ops, Source, Dest, RedLow>(source, destination, width, context.lookup);
  }
};

template <class Ops, Format Source, Format Dest, bool RedLow>
constexpr BlitMember vector_member = member_of<VectorMember<Ops, Source, Dest, RedLow>>;

// The faster set for one instruction set. The copy members are the plain ones (null here);
// indexed sources go through the converted palette, which needs no vectors.
template <class Ops>
constexpr BlitSet make_vector_set() {
  constexpr Format P16 = FORMAT_565, P32 = FORMAT_8888;
  return BlitSet{{
      {{{}, {}},
       {palette_member<FORMAT_555, false>, palette_member<FORMAT_555, true>},
       {palette_member<FORMAT_565, false>, palette_member<FORMAT_565, true>},
       {palette_member<FORMAT_888, false>, palette_member<FORMAT_888, true>},
       {palette_member<FORMAT_8888, false>, palette_member<FORMAT_8888, true>}},
      {{{}, {}},
       {vector_member<Ops, P16, FORMAT_555, false>, vector_member<Ops, P16, FORMAT_555, true>},
       {{}, vector_member<Ops, P16, FORMAT_565, true>},
       {vector_member<Ops, P16, FORMAT_888, false>, vector_member<Ops, P16, FORMAT_888, true>},
       {vector_member<Ops, P16, FORMAT_8888, false>, vector_member<Ops, P16, FORMAT_8888, true>}},
      {{{}, {}},
       {vector_member<Ops, P32, FORMAT_555, false>, vector_member<Ops, P32, FORMAT_555, true>},
       {vector_member<Ops, P32, FORMAT_565, false>, vector_member<Ops, P32, FORMAT_565, true>},
       {vector_member<Ops, P32, FORMAT_888, false>, vector_member<Ops, P32, FORMAT_888, true>},
       {{}, vector_member<Ops, P32, FORMAT_8888, true>}},
  }};
}

}  // namespace
}  // namespace zv::blit
