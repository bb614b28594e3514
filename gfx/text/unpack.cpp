// Decoder for the packed font and palette block: LZW with fixed 12-bit codes,
// no clear code, a dictionary that freezes once full, and 4095 as the end code.
#include <cstdint>

#include "gfx/text/fonts.h"

namespace zv {
namespace {

constexpr uint32_t FIRST_LEARNT_CODE = 256;
constexpr uint32_t LAST_LEARNT_CODE = 4094;
constexpr uint32_t END_CODE = 4095;
constexpr int32_t MAX_STRING = 4095;  // bytes of one code's string at most

// Two 12-bit codes in every three bytes: low byte first, the middle byte's
// nibbles shared between them.
struct CodeReader {
  const uint8_t* bytes;
  int32_t length;
  int32_t position = 0;
  bool second_half = false;

  // False once the input cannot hold another whole code (odd trailing bytes
  // are ignored rather than read past).
  bool next(uint32_t* code) {
    if (!second_half) {
      if (length - position < 2) return false;
      *code = bytes[position] | ((bytes[position + 1] & 15u) << 8);
    } else {
      if (length - position < 3) return false;
      *code = (bytes[position + 1] >> 4) | (uint32_t{bytes[position + 2]} << 4);
      position += 3;
    }
    second_half = !second_half;
    return true;
  }
};

}  // namespace

int32_t unpack_data(const uint8_t* packed, int32_t packed_length, uint8_t* output, int32_t* length) {
  if (length == nullptr) return -1;
  const int32_t capacity = *length;
  *length = 0;
  if (packed == nullptr || output == nullptr || packed_length < 2 || capacity < 1) return -1;

  uint16_t prefix[END_CODE + 1];
  uint8_t last_byte[END_CODE + 1];
  uint8_t scratch[MAX_STRING];

  CodeReader reader{packed, packed_length};
  uint32_t code = 0;
  reader.next(&code);
  // Whatever the first code says, only its low byte is taken; keeping the
  // previous code a literal keeps every learnt entry's chain well formed.
  uint8_t first_byte = static_cast<uint8_t>(code);
  uint32_t previous = first_byte;
  output[0] = first_byte;
  int32_t written = 1;
  uint32_t next_free = FIRST_LEARNT_CODE;

  while (reader.next(&code)) {
    if (code == END_CODE) {
      *length = written;
      return 0;
    }
    if (code > next_free) break;  // refers to an entry not learnt yet: corrupt stream

    // Collect the string backwards from the end of the scratch buffer.
    int32_t start = MAX_STRING;
    uint32_t link = code;
    if (code == next_free) {
      scratch[--start] = first_byte;
      link = previous;
    }
    bool too_long = false;
    for (;;) {
      if (start == 0) {
        too_long = true;
        break;
      }
      if (link < FIRST_LEARNT_CODE) {
        scratch[--start] = static_cast<uint8_t>(link);
        break;
      }
      scratch[--start] = last_byte[link];
      link = prefix[link];
    }
    if (too_long) break;

    const int32_t count = MAX_STRING - start;
    for (int32_t i = 0; i < count; ++i) {
      if (written == capacity) {
        *length = written;
        return -1;
      }
      output[written++] = scratch[start + i];
    }

    first_byte = scratch[start];
    if (next_free <= LAST_LEARNT_CODE) {
      prefix[next_free] = static_cast<uint16_t>(previous);
      last_byte[next_free] = first_byte;
      ++next_free;
    }
    previous = code;
  }
  *length = written;
  return -1;
}

}  // namespace zv
