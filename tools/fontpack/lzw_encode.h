// The encoder that matches zv::unpack_data: LZW with fixed 12-bit codes, no
// clear code, a dictionary that freezes once code 4094 is learnt, and 4095 as
// the end code. Two codes go into every three bytes (low byte of the first,
// then the nibbles shared, then the high byte of the second).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fontpack {

constexpr uint32_t LZW_FIRST_LEARNT = 256;
constexpr uint32_t LZW_LAST_LEARNT = 4094;
constexpr uint32_t LZW_END = 4095;

inline void append_code(std::vector<uint8_t>& out, bool& second_half, uint32_t code) {
  if (!second_half) {
    out.push_back(static_cast<uint8_t>(code));
    out.push_back(static_cast<uint8_t>(code >> 8));
  } else {
    out.back() = static_cast<uint8_t>(out.back() | ((code & 15) << 4));
    out.push_back(static_cast<uint8_t>(code >> 4));
  }
  second_half = !second_half;
}

// Packs codes 0..4095 as the decoder reads them. An odd count leaves the last
// group two bytes long.
inline std::vector<uint8_t> pack_codes(const std::vector<uint32_t>& codes) {
  std::vector<uint8_t> out;
  bool second_half = false;
  for (uint32_t code : codes) append_code(out, second_half, code & 0xFFF);
  return out;
}

// Every stream starts with a literal, so empty input has no encoding: the
// result is then empty too.
inline std::vector<uint8_t> lzw_encode(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out;
  if (size == 0) return out;
  // Each learnt string hangs under its prefix: the prefix's first child, then
  // a list of siblings. 0 means none (0 can never be a learnt code).
  std::vector<uint16_t> first_child(LZW_END + 1, 0);
  std::vector<uint16_t> next_sibling(LZW_END + 1, 0);
  std::vector<uint8_t> last_byte(LZW_END + 1, 0);
  uint32_t next_free = LZW_FIRST_LEARNT;
  bool second_half = false;
  uint32_t current = data[0];
  for (size_t i = 1; i < size; ++i) {
    const uint8_t byte = data[i];
    uint32_t known = first_child[current];
    while (known != 0 && last_byte[known] != byte) known = next_sibling[known];
    if (known != 0) {
      current = known;
      continue;
    }
    append_code(out, second_half, current);
    if (next_free <= LZW_LAST_LEARNT) {
      last_byte[next_free] = byte;
      next_sibling[next_free] = first_child[current];
      first_child[current] = static_cast<uint16_t>(next_free++);
    }
    current = byte;
  }
  append_code(out, second_half, current);
  append_code(out, second_half, LZW_END);
  return out;
}

inline std::vector<uint8_t> lzw_encode(const std::vector<uint8_t>& data) {
  return lzw_encode(data.data(), data.size());
}

}  // namespace fontpack
