// The packed-data decoder: well-formed streams, its limits, and streams that
// are truncated, corrupt or hostile.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "gfx/text/fonts.h"
#include "tools/fontpack/lzw_encode.h"

namespace {

using fontpack::lzw_encode;
using fontpack::LZW_END;
using fontpack::pack_codes;

constexpr uint8_t GUARD = 0xA5;
constexpr int32_t GUARD_BYTES = 64;

struct Decoded {
  int32_t result;
  int32_t length;
  std::vector<uint8_t> bytes;  // the first `length` bytes of the output
};

// Decodes into a buffer of `capacity` bytes followed by guard bytes that must
// come back untouched.
Decoded decode(const std::vector<uint8_t>& packed, int32_t capacity) {
  std::vector<uint8_t> buffer(static_cast<size_t>(capacity) + GUARD_BYTES, GUARD);
  int32_t length = capacity;
  const int32_t result = zv::unpack_data(packed.data(), static_cast<int32_t>(packed.size()), buffer.data(), &length);
  for (int32_t i = 0; i < GUARD_BYTES; ++i) EXPECT_EQ(buffer[capacity + i], GUARD) << "written past the capacity";
  EXPECT_GE(length, 0);
  EXPECT_LE(length, capacity);
  return {result, length, std::vector<uint8_t>(buffer.begin(), buffer.begin() + std::max(0, length))};
}

std::vector<uint8_t> bytes_of(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(UnpackData, DecodesLiteralsAndLearntStrings) {
  // "ab" then the learnt "ab" (256) then "ba" (257).
  const Decoded d = decode(pack_codes({'a', 'b', 256, 257, LZW_END}), 100);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, bytes_of("ababba"));
}

TEST(UnpackData, CodeEqualToNextFreeRepeatsPreviousStringPlusItsFirstByte) {
  // The second code is 256 before anything is learnt: "a" + "a".
  Decoded d = decode(pack_codes({'a', 256, LZW_END}), 10);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, bytes_of("aaa"));

  // Later in the stream: after "ab", "b", code 258 is "b" + "b".
  d = decode(pack_codes({'a', 'b', 257, 258, LZW_END}), 20);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, bytes_of("abbbbbb"));
}

TEST(UnpackData, CapacityIsNeverExceeded) {
  const std::vector<uint8_t> content = bytes_of("TOBEORNOTTOBEORTOBEORNOT#TOBEORNOTTOBEORTOBEORNOT");
  const std::vector<uint8_t> packed = lzw_encode(content);
  const int32_t size = static_cast<int32_t>(content.size());

  Decoded d = decode(packed, size);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, content);

  d = decode(packed, size + 100);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.length, size);

  // One byte short: everything that fits is written, then failure.
  for (int32_t capacity : {size - 1, size / 2, 2, 1}) {
    d = decode(packed, capacity);
    EXPECT_EQ(d.result, -1) << capacity;
    EXPECT_EQ(d.length, capacity);
    EXPECT_TRUE(std::equal(d.bytes.begin(), d.bytes.end(), content.begin())) << capacity;
  }
  d = decode(packed, 0);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.length, 0);
}

TEST(UnpackData, MissingEndCodeFailsAfterWritingEverything) {
  Decoded d = decode(pack_codes({'x', 'y', 256}), 10);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.bytes, bytes_of("xyxy"));

  // Cut an encoded stream anywhere short of its end code: always a failure,
  // and what was written is a prefix of the content.
  const std::vector<uint8_t> content = bytes_of("abracadabra abracadabra abracadabra");
  const std::vector<uint8_t> packed = lzw_encode(content);
  for (size_t cut = 0; cut < packed.size(); ++cut) {
    d = decode(std::vector<uint8_t>(packed.begin(), packed.begin() + cut), 100);
    EXPECT_EQ(d.result, -1) << cut;
    EXPECT_TRUE(std::equal(d.bytes.begin(), d.bytes.end(), content.begin())) << cut;
  }
}

TEST(UnpackData, OddTrailingBytesAreIgnored) {
  // Three codes end in a two-byte group; bytes after the end code do not matter.
  std::vector<uint8_t> packed = pack_codes({'a', 'b', LZW_END});
  ASSERT_EQ(packed.size(), 5u);
  EXPECT_EQ(decode(packed, 10).result, 0);
  packed.push_back(0x12);
  EXPECT_EQ(decode(packed, 10).bytes, bytes_of("ab"));

  // A lone byte where a code should start is not a code.
  packed = pack_codes({'a', 'b'});
  packed.push_back(0xFF);
  const Decoded d = decode(packed, 10);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.bytes, bytes_of("ab"));
}

TEST(UnpackData, RejectsBadArguments) {
  const std::vector<uint8_t> packed = pack_codes({'a', LZW_END});
  uint8_t out[8] = {};
  int32_t length = 8;
  EXPECT_EQ(zv::unpack_data(nullptr, 3, out, &length), -1);
  EXPECT_EQ(length, 0);
  length = 8;
  EXPECT_EQ(zv::unpack_data(packed.data(), 3, nullptr, &length), -1);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(zv::unpack_data(packed.data(), 3, out, nullptr), -1);
  for (int32_t bad_length : {-1, -100000, 0, 1}) {
    length = 8;
    EXPECT_EQ(zv::unpack_data(packed.data(), bad_length, out, &length), -1) << bad_length;
    EXPECT_EQ(length, 0);
  }
  length = -5;
  EXPECT_EQ(zv::unpack_data(packed.data(), 3, out, &length), -1);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(out[0], 0) << "nothing may be written without capacity";
}

TEST(UnpackData, RejectsCodesNotLearntYet) {
  Decoded d = decode(pack_codes({'a', 257, LZW_END}), 10);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.bytes, bytes_of("a"));

  d = decode(pack_codes({'a', 'b', 'c', 4000, LZW_END}), 10);
  EXPECT_EQ(d.result, -1);
  EXPECT_EQ(d.bytes, bytes_of("abc"));
}

TEST(UnpackData, FirstCodeIsTakenAsALiteral) {
  // Only the low byte of a first code counts, even the end code's.
  Decoded d = decode(pack_codes({0x141, 256, LZW_END}), 10);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, bytes_of("AAA"));

  d = decode(pack_codes({LZW_END, LZW_END}), 10);
  EXPECT_EQ(d.result, 0);
  EXPECT_EQ(d.bytes, std::vector<uint8_t>{0xFF});
}

// Each code 256 + k repeats the last string plus one byte, so the strings grow
// to the longest a full dictionary can hold; after 4094 the dictionary is
// frozen and 4095 ends the stream.
TEST(UnpackData, LongestStringsAndFrozenDictionary) {
  std::vector<uint32_t> codes = {'a'};
  int64_t expected = 1;
  for (uint32_t code = 256; code <= 4094; ++code) {
    codes.push_back(code);
    expected += code - 256 + 2;
  }
  const int32_t longest = 4094 - 256 + 2;
  for (int i = 0; i < 3; ++i) {
    codes.push_back(4094);
    expected += longest;
  }
  codes.push_back(LZW_END);

  const Decoded d = decode(pack_codes(codes), static_cast<int32_t>(expected));
  EXPECT_EQ(d.result, 0);
  ASSERT_EQ(d.length, expected);
  EXPECT_TRUE(std::all_of(d.bytes.begin(), d.bytes.end(), [](uint8_t b) { return b == 'a'; }));
}

TEST(UnpackData, RoundTripsRandomData) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 random(seed);
    const size_t size = seed % 4 == 0 ? 1 + random() % 4 : 1 + random() % 60000;
    const uint32_t alphabet = seed % 3 == 0 ? 256 : 2 + random() % 12;  // small alphabets fill the dictionary
    std::vector<uint8_t> content(size);
    for (uint8_t& b : content) b = static_cast<uint8_t>(random() % alphabet);

    const std::vector<uint8_t> packed = lzw_encode(content);
    const Decoded d = decode(packed, static_cast<int32_t>(size));
    ASSERT_EQ(d.result, 0) << "seed " << seed;
    ASSERT_EQ(d.bytes, content) << "seed " << seed;
  }
}

TEST(UnpackData, SurvivesRandomStreams) {
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> packed(random() % 600);
    for (uint8_t& b : packed) b = static_cast<uint8_t>(random());
    const Decoded d = decode(packed, static_cast<int32_t>(random() % 3000));
    EXPECT_TRUE(d.result == 0 || d.result == -1) << "seed " << seed;
  }
}

}  // namespace
