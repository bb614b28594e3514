#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/strings.h"

using namespace zv;

namespace {

// Every test must give back all the temporaries it took.
class StringsTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(temp_desc_in_use(), 0); }
  void TearDown() override { EXPECT_EQ(temp_desc_in_use(), 0) << "temporaries leaked"; }
};

StringDescriptor* temp(const char* text) {
  StringDescriptor* s = str_alloc_temp(nullptr, static_cast<int32_t>(std::strlen(text)));
  std::memcpy(s->data, text, std::strlen(text) + 1);
  return s;
}

std::string text_of(const StringDescriptor* s) { return s->data ? std::string(s->data, str_length(s)) : ""; }

// Takes the text out of a result and releases it.
std::string take(StringDescriptor* s) {
  std::string text = text_of(s);
  str_release_temp(s);
  return text;
}

}  // namespace

TEST_F(StringsTest, CompareIsUnsignedBytewiseAndReleasesTemporaries) {
  EXPECT_EQ(str_compare("", 0, "", 0), 0);
  EXPECT_EQ(str_compare("abc", 0, "abd", 0), -1);
  EXPECT_EQ(str_compare("abd", 0, "abc", 0), 1);
  EXPECT_EQ(str_compare("ab", 0, "abc", 0), -1);
  EXPECT_EQ(str_compare("abc", 0, "ab", 0), 1);
  EXPECT_EQ(str_compare("\xE4", 0, "a", 0), 1);
  EXPECT_EQ(str_compare("A", 0, "a", 0), -1);  // no case folding
  EXPECT_EQ(str_compare(nullptr, 0, "", 0), 0);
  EXPECT_EQ(str_compare(nullptr, 0, nullptr, 0), 0);
  EXPECT_EQ(str_compare(nullptr, 0, "a", 0), -1);
  EXPECT_EQ(str_compare("a", 0, nullptr, 0), 1);
  EXPECT_EQ(str_compare(temp("same"), STR_DESCRIPTOR, temp("same"), STR_DESCRIPTOR), 0);
  EXPECT_EQ(str_compare(&runtime.empty_string, STR_DESCRIPTOR, "", 0), 0);
  StringDescriptor* twice = temp("x");
  EXPECT_EQ(str_compare(twice, STR_DESCRIPTOR, twice, STR_DESCRIPTOR), 0);  // released once only
}

TEST_F(StringsTest, CompareStopsAtTheSizeOfAFixedLengthBuffer) {
  const char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(str_compare(unterminated, 2, "ab", 0), 0);
}

TEST_F(StringsTest, MidHandlesEveryBound) {
  EXPECT_EQ(take(str_mid(temp("/s"), 2, 1)), "s");
  EXPECT_EQ(str_mid(temp("s"), 2, 1), &runtime.empty_string);
  EXPECT_EQ(take(str_mid(temp("abc"), 2, -1)), "bc");
  EXPECT_EQ(take(str_mid(temp("abc"), 2, 10)), "bc");
  EXPECT_EQ(take(str_mid(temp("abc"), 1, INT32_MAX)), "abc");
  EXPECT_EQ(take(str_mid(temp("abc"), 3, INT32_MAX)), "c");
  EXPECT_EQ(str_mid(temp("abc"), 2, 0), &runtime.empty_string);
  EXPECT_EQ(str_mid(temp("abc"), 0, 1), &runtime.empty_string);
  EXPECT_EQ(str_mid(temp("abc"), 4, 1), &runtime.empty_string);
  EXPECT_EQ(str_mid(temp("abc"), INT32_MIN, 1), &runtime.empty_string);
  EXPECT_EQ(str_mid(nullptr, 1, 1), &runtime.empty_string);
  EXPECT_EQ(str_mid(&runtime.empty_string, 1, 1), &runtime.empty_string);
  StringDescriptor variable{};
  str_assign(&variable, STR_DESCRIPTOR, "hello", 0, 0);
  EXPECT_EQ(take(str_mid(&variable, 2, 3)), "ell");
  EXPECT_EQ(text_of(&variable), "hello");  // a variable is not consumed
  str_free(&variable);
}

TEST_F(StringsTest, CommandArgReadsTheKeptVector) {
  char program[] = "morv.scr", a[] = "a", bc[] = "bc";
  char* vector[] = {program, a, bc, nullptr};
  const int32_t saved_count = runtime.arg_count;
  char** saved_vector = runtime.arg_vector;

  set_args(1, vector, 0);
  EXPECT_EQ(command_arg(1), &runtime.empty_string);
  EXPECT_EQ(command_arg(-1), &runtime.empty_string);
  EXPECT_EQ(take(command_arg(0)), "morv.scr");

  set_args(3, vector, 0);
  EXPECT_EQ(take(command_arg(-1)), "a bc");
  EXPECT_EQ(take(command_arg(1)), "a");
  EXPECT_EQ(take(command_arg(2)), "bc");
  EXPECT_EQ(command_arg(3), &runtime.empty_string);
  EXPECT_EQ(command_arg(INT32_MAX), &runtime.empty_string);

  set_args(0, nullptr, 0);
  EXPECT_EQ(command_arg(0), &runtime.empty_string);
  EXPECT_EQ(command_arg(-1), &runtime.empty_string);
  set_args(saved_count, saved_vector, runtime.language_option);
}

TEST_F(StringsTest, AssigningATemporaryStealsItsBuffer) {
  StringDescriptor variable{};
  str_assign(&variable, STR_DESCRIPTOR, "old", 0, 0);
  StringDescriptor* source = temp("a temporary");
  char* buffer = source->data;
  const int32_t capacity = source->capacity;
  ASSERT_EQ(temp_desc_in_use(), 1);
  str_assign(&variable, STR_DESCRIPTOR, source, STR_DESCRIPTOR, 0);
  EXPECT_EQ(temp_desc_in_use(), 0);
  EXPECT_EQ(variable.data, buffer);
  EXPECT_EQ(variable.capacity, capacity);
  EXPECT_EQ(variable.length, 11);  // without the temporary bit
  str_free(&variable);
}

TEST_F(StringsTest, AssignmentFollowsTheGrowthRule) {
  const std::string forty(40, 'x'), hundred_ten(110, 'y');
  StringDescriptor variable{};
  str_assign(&variable, STR_DESCRIPTOR, forty.c_str(), 0, 0);
  EXPECT_EQ(variable.capacity, 72);
  str_assign(&variable, STR_DESCRIPTOR, hundred_ten.c_str(), 0, 0);
  EXPECT_EQ(variable.capacity, 144);
  EXPECT_EQ(text_of(&variable), hundred_ten);

  char* buffer = variable.data;
  const std::string same_length(110, 'z');
  str_assign(&variable, STR_DESCRIPTOR, same_length.c_str(), 0, 0);
  EXPECT_EQ(variable.data, buffer);
  EXPECT_EQ(text_of(&variable), same_length);

  // 100 characters still fit 144 (within an eighth); 1 character does not.
  str_assign(&variable, STR_DESCRIPTOR, std::string(100, 'w').c_str(), 0, 0);
  EXPECT_EQ(variable.capacity, 144);
  str_assign(&variable, STR_DESCRIPTOR, "q", 0, 0);
  EXPECT_EQ(variable.capacity, 36);
  EXPECT_EQ(text_of(&variable), "q");

  str_assign(&variable, STR_DESCRIPTOR, "", 0, 0);
  EXPECT_EQ(variable.data, nullptr);
  EXPECT_EQ(variable.capacity, 0);

  StringDescriptor fresh;
  std::memset(&fresh, 0xA5, sizeof fresh);  // not a valid buffer: must be neither freed nor read
  str_assign_init(&fresh, STR_DESCRIPTOR, forty.c_str(), 0, 0);
  EXPECT_EQ(fresh.capacity, 64);
  EXPECT_EQ(text_of(&fresh), forty);
  str_free(&fresh);
}

TEST_F(StringsTest, ResizeKeepsContentsOnlyWhenAsked) {
  StringDescriptor s{};
  ASSERT_TRUE(str_resize(&s, 5, false));
  std::memcpy(s.data, "hello", 5);
  ASSERT_TRUE(str_resize(&s, 60, true));
  EXPECT_EQ(s.capacity, 72);
  EXPECT_EQ(std::string(s.data, 5), "hello");
  EXPECT_EQ(s.data[60], 0);
  ASSERT_TRUE(str_resize(&s, 3, true));
  EXPECT_EQ(s.capacity, 36);
  EXPECT_EQ(text_of(&s), "hel");
  EXPECT_FALSE(str_resize(&s, -1, true));
  EXPECT_EQ(text_of(&s), "hel");
  str_free(&s);
  EXPECT_EQ(str_alloc_temp(nullptr, -1), nullptr);
}

TEST_F(StringsTest, AssigningToTheSameVariableOrItsOwnTextIsSafe) {
  StringDescriptor variable{};
  str_assign(&variable, STR_DESCRIPTOR, "abcdef", 0, 0);
  str_assign(&variable, STR_DESCRIPTOR, &variable, STR_DESCRIPTOR, 0);
  EXPECT_EQ(text_of(&variable), "abcdef");
  str_assign(&variable, STR_DESCRIPTOR, std::string(50, 'm').c_str(), 0, 0);
  str_assign(&variable, STR_DESCRIPTOR, variable.data + 45, 0, 0);  // shrinks out of its own buffer
  EXPECT_EQ(text_of(&variable), "mmmmm");
  str_free(&variable);

  StringDescriptor* t = temp("self");
  str_assign(t, STR_DESCRIPTOR, t, STR_DESCRIPTOR, 0);
  EXPECT_EQ(take(t), "self");
}

TEST_F(StringsTest, FixedLengthDestinationsNeverOverrun) {
  char buffer[12];
  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 10, "abcdefghijklmnop", 0, 0);
  EXPECT_STREQ(buffer, "abcdefghi");
  EXPECT_EQ(buffer[10], '#');

  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 10, "abc", 0, 0);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], '#');  // no fill

  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 10, temp("abc"), STR_DESCRIPTOR, 1);
  EXPECT_EQ(std::string(buffer, 9), std::string("abc\0\0\0\0\0\0", 9));
  EXPECT_EQ(buffer[9], '#');  // the fill stops before the last byte

  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 10, "", 0, 1);
  EXPECT_EQ(std::string(buffer, 10), std::string(10, '\0'));
  EXPECT_EQ(buffer[10], '#');

  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 1, "abc", 0, 1);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], '#');

  std::memset(buffer, '#', sizeof buffer);
  str_assign(buffer, 0, "abc", 0, 0);  // size not given: the whole text
  EXPECT_STREQ(buffer, "abc");

  set_error(0);
  EXPECT_EQ(str_assign(buffer, -2, temp("x"), STR_DESCRIPTOR, 0), buffer);
  EXPECT_EQ(get_error(), ERR_ILLEGAL_CALL);
  EXPECT_EQ(str_assign(nullptr, STR_DESCRIPTOR, temp("x"), STR_DESCRIPTOR, 0), nullptr);
}

TEST_F(StringsTest, PoolRunsOutAt256AndRecovers) {
  std::vector<StringDescriptor*> held;
  for (int32_t i = 0; i < STR_POOL_SIZE; ++i) {
    StringDescriptor* s = temp_desc_get();
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(is_pool_descriptor(s));
    held.push_back(s);
  }
  EXPECT_EQ(temp_desc_get(), nullptr);
  EXPECT_EQ(str_alloc_temp(nullptr, 4), nullptr);
  EXPECT_EQ(str_temp_wrap_cstr("literal"), &runtime.empty_string);
  StringDescriptor source{};
  str_assign(&source, STR_DESCRIPTOR, "abc", 0, 0);
  EXPECT_EQ(str_mid(&source, 1, 2), &runtime.empty_string);
  str_free(&source);

  EXPECT_EQ(temp_desc_put(held[7]), 0);
  EXPECT_EQ(temp_desc_put(held[7]), -1);  // given back twice: refused, lists intact
  held.erase(held.begin() + 7);
  StringDescriptor outside{};
  EXPECT_EQ(temp_desc_put(&outside), -1);
  EXPECT_FALSE(is_pool_descriptor(&outside));
  EXPECT_EQ(temp_desc_put(reinterpret_cast<StringDescriptor*>(reinterpret_cast<char*>(held[0]) + 4)), -1);
  for (StringDescriptor* s : held) EXPECT_EQ(temp_desc_put(s), 0);
}

TEST_F(StringsTest, WrappedLiteralsAreNotOwned) {
  static const char literal[] = "literal";
  StringDescriptor* wrapped = str_temp_wrap_cstr(literal);
  EXPECT_EQ(wrapped->data, literal);
  EXPECT_EQ(wrapped->length, 7);
  EXPECT_EQ(wrapped->capacity, 7);
  EXPECT_EQ(str_release_temp(wrapped), 0);  // returns the node without freeing the literal
  EXPECT_EQ(str_temp_wrap(nullptr, 3), &runtime.empty_string);
  EXPECT_EQ(str_temp_wrap(literal, -1), &runtime.empty_string);
  EXPECT_EQ(take(str_temp_wrap_cstr(nullptr)), "");
  EXPECT_EQ(str_release_temp(nullptr), -1);
}
