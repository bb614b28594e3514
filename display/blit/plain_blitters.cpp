// The plain set: one scalar member per (source class, surface type, order).
#include "display/blit/row_loop.h"

namespace zv::blit {

namespace {

template <Format Source, Format Dest, bool RedLow>
constexpr BlitMember plain = member_of<PlainMember<Source, Dest, RedLow>>;
constexpr BlitMember COPY = member_of<CopyMember>;

constexpr Format I = FORMAT_INDEXED, P16 = FORMAT_565, P32 = FORMAT_8888;

// Rows: source class; columns: surface type 8, 15, 16, 24, 32; pairs: red-high, red-low.
constexpr BlitSet PLAIN_SET{{
    {{COPY, COPY},
     {plain<I, FORMAT_555, false>, plain<I, FORMAT_555, true>},
     {plain<I, FORMAT_565, false>, plain<I, FORMAT_565, true>},
     {plain<I, FORMAT_888, false>, plain<I, FORMAT_888, true>},
     {plain<I, FORMAT_8888, false>, plain<I, FORMAT_8888, true>}},
    {{{}, {}},
     {plain<P16, FORMAT_555, false>, plain<P16, FORMAT_555, true>},
     {COPY, plain<P16, FORMAT_565, true>},
     // One member for both orders: the conversion table carries the order.
     {plain<P16, FORMAT_888, false>, plain<P16, FORMAT_888, false>},
     {plain<P16, FORMAT_8888, false>, plain<P16, FORMAT_8888, false>}},
    {{{}, {}},
     {plain<P32, FORMAT_555, false>, plain<P32, FORMAT_555, true>},
     {plain<P32, FORMAT_565, false>, plain<P32, FORMAT_565, true>},
     {plain<P32, FORMAT_888, false>, plain<P32, FORMAT_888, true>},
     {COPY, plain<P32, FORMAT_8888, true>}},
}};

}  // namespace

const BlitSet& plain_blitters() { return PLAIN_SET; }

}  // namespace zv::blit
