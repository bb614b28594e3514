#include <climits>
#include <string>

#include "input_fixture.h"

using namespace zv;
using input_test::fake;
using input_test::InputTest;

namespace {

// The key string as bytes; releases the temporary.
std::string take_key_string() {
  StringDescriptor* s = gfx_key_string();
  std::string bytes(s->data ? s->data : "", str_length(s));
  str_release_temp(s);
  return bytes;
}

std::string extended(int second) { return std::string{'\xFF', static_cast<char>(second)}; }

}  // namespace

TEST_F(InputTest, FullRingDropsTheOldestCode) {
  for (int32_t code = 1; code <= 16; ++code) post_key(code);
  for (int32_t code = 2; code <= 16; ++code) EXPECT_EQ(get_key(), code);
  EXPECT_EQ(get_key(), 0);

  // Keeps dropping one at a time while nobody reads.
  for (int32_t code = 100; code < 140; ++code) post_key(code);
  for (int32_t code = 125; code < 140; ++code) EXPECT_EQ(get_key(), code);
  EXPECT_EQ(get_key(), 0);
}

TEST_F(InputTest, KeyArrivedIsSetByPostAndClearedByEitherRead) {
  EXPECT_EQ(take_key_arrived(), 0);
  post_key('a');
  EXPECT_EQ(take_key_arrived(), 1);
  EXPECT_EQ(take_key_arrived(), 0) << "taking the flag clears it";
  EXPECT_EQ(gfx_key_pending(), 1) << "the key itself stays";

  post_key('b');
  EXPECT_EQ(get_key(), 'a');
  EXPECT_EQ(take_key_arrived(), 0) << "get_key clears the flag too";
  EXPECT_EQ(get_key(), 'b');
  EXPECT_EQ(get_key(), 0);
  EXPECT_EQ(gfx_key_pending(), 0);
}

TEST_F(InputTest, RingReadsTakeTheScreenLockAndReleaseIt) {
  post_key(5);
  EXPECT_EQ(gfx_key_pending(), 1);
  EXPECT_EQ(get_key(), 5);
  take_key_arrived();
  EXPECT_EQ(fake.locks, 3);
  EXPECT_EQ(fake.unlocks, 3);

  // Inside an application lock nothing is locked again or released.
  screen_.flags |= GS_LOCKED;
  get_key();
  gfx_key_pending();
  EXPECT_EQ(fake.locks, 3);
  EXPECT_EQ(screen_.flags & (GS_LOCKED | GS_AUTO_LOCKED), GS_LOCKED);
}

TEST_F(InputTest, KeyStringForCharactersExtendedAndCompactCodes) {
  const int32_t codes[] = {'x', 255, 0x48FF, KEY_CLOSE, 257, 256, 266, 267, 276, 277, 300};
  for (int32_t code : codes) post_key(code);
  EXPECT_EQ(take_key_string(), "x");
  EXPECT_EQ(take_key_string(), "\xFF") << "255 is a character";
  EXPECT_EQ(take_key_string(), extended('H'));
  EXPECT_EQ(take_key_string(), extended('k')) << "the close button";
  EXPECT_EQ(take_key_string(), extended('H')) << "compact Up";
  EXPECT_EQ(take_key_string(), extended('k'));
  EXPECT_EQ(take_key_string(), extended('Q')) << "compact Page Down";
  EXPECT_EQ(take_key_string(), extended(';')) << "compact F1";
  EXPECT_EQ(take_key_string(), extended('D')) << "compact F10";
  EXPECT_EQ(take_key_string(), extended('D')) << "beyond the list counts as F10";
  EXPECT_EQ(take_key_string(), extended('D'));
  EXPECT_EQ(take_key_string(), "") << "empty ring";
}

TEST_F(InputTest, KeyStringAcceptsEveryCodeValue) {
  auto check = [](int32_t code) {
    post_key(code);
    const std::string s = take_key_string();
    if (code == 0) {
      EXPECT_EQ(s, "");
    } else if (code >= 1 && code <= 255) {
      ASSERT_EQ(s.size(), 1u) << code;
      EXPECT_EQ(static_cast<uint8_t>(s[0]), code);
    } else {
      ASSERT_EQ(s.size(), 2u) << code;
      EXPECT_EQ(static_cast<uint8_t>(s[0]), 255) << code;
      if ((code & 0xFF) == 0xFF) {
        EXPECT_EQ(static_cast<uint8_t>(s[1]), (code >> 8) & 0xFF) << code;
      }
    }
  };
  for (int32_t code = -70000; code <= 70000; ++code) check(code);
  for (int32_t code : {INT32_MIN, INT32_MIN + 1, INT32_MIN + 255, INT32_MAX, INT32_MAX - 255, -1, -255, -256})
    check(code);
  EXPECT_EQ(temp_desc_in_use(), 0) << "every key string was released";
}

TEST_F(InputTest, KeyQueriesAnswerNothingWithoutAScreen) {
  post_key('q');
  close_screen();
  EXPECT_EQ(take_key_string(), "");
  EXPECT_EQ(gfx_wait_key(), 0);
  EXPECT_EQ(gfx_key_held(30), 0);
  EXPECT_EQ(gfx_key_pending(), 1) << "the ring lives on without a screen";
}

TEST_F(InputTest, KeyHeldReadsTheKeyStateOfValidScancodesOnly) {
  key_state_[0] = 1;
  key_state_[30] = 0x80;
  key_state_[127] = 1;
  EXPECT_EQ(gfx_key_held(30), -1);
  EXPECT_EQ(gfx_key_held(31), 0);
  EXPECT_EQ(gfx_key_held(0), -1);
  EXPECT_EQ(gfx_key_held(127), -1);
  EXPECT_EQ(gfx_key_held(128), 0);
  EXPECT_EQ(gfx_key_held(-1), 0);
  EXPECT_EQ(gfx_key_held(INT32_MIN), 0);
  EXPECT_EQ(gfx_key_held(INT32_MAX), 0);
  EXPECT_EQ(fake.locks, 4) << "the four valid reads lock";
}
