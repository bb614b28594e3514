#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/entry.h"
#include "platform/platform.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

using namespace zv;
using namespace zv::platform;

namespace {

struct ShownBox {
  std::string text, caption;
  uint32_t style;
};

std::vector<ShownBox> shown;
int32_t answer = 0;
int32_t saver_runs = 0;

int32_t fake_box(const char* text, const char* caption, uint32_t style) {
  shown.push_back({text, caption, style});
  return answer;
}

void fake_saver() { ++saver_runs; }

class EntryTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_count_ = runtime.arg_count;
    saved_vector_ = runtime.arg_vector;
    set_message_box(fake_box);
    morv::set_screensaver_function(fake_saver);
    shown.clear();
    saver_runs = 0;
    answer = 0;
  }
  void TearDown() override {
    set_message_box(nullptr);
    morv::set_screensaver_function(nullptr);
    set_args(saved_count_, saved_vector_, 0);
    EXPECT_EQ(temp_desc_in_use(), 0);
  }
  // Runs the entry with the program name followed by the given arguments.
  void run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "morv.scr");
    std::vector<char*> vector;
    for (std::string& a : arguments) vector.push_back(a.data());
    vector.push_back(nullptr);
    EXPECT_EQ(morv::morv_main(static_cast<int32_t>(arguments.size()), vector.data()), 0);
  }
  int32_t saved_count_ = 0;
  char** saved_vector_ = nullptr;
};

const std::string NO_OPTIONS_BYTES = "Dieser Bildschirmschoner hat keine Optionen, die sie einstellen k\xF6nnen.";

}  // namespace

TEST_F(EntryTest, NoArgumentAsksAndRunsOnlyOnYes) {
  for (int32_t reply : {IDYES, IDNO, 0}) {
    shown.clear();
    saver_runs = 0;
    answer = reply;
    run({});
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Sreensaver testen?");
    EXPECT_EQ(shown[0].caption, " ");
    EXPECT_EQ(shown[0].style, 0x24u);
    EXPECT_EQ(saver_runs, reply == IDYES ? 1 : 0) << "reply " << reply;
  }
  answer = IDYES;
  shown.clear();
  run({""});  // an empty argument counts as none
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(EntryTest, SecondCharacterSOrSRunsTheSaver) {
  for (const char* argument : {"/s", "/S", "-s", "-S", "xs", "/sx", "/s:123"}) {
    saver_runs = 0;
    run({argument});
    EXPECT_EQ(saver_runs, 1) << argument;
  }
  EXPECT_TRUE(shown.empty());
}

TEST_F(EntryTest, SecondCharacterCOrCShowsTheNoOptionsBox) {
  for (const char* argument : {"/c", "/C", "-C", "/c:123456", "xc"}) {
    shown.clear();
    run({argument, "1234"});
    ASSERT_EQ(shown.size(), 1u) << argument;
    EXPECT_EQ(shown[0].text, NO_OPTIONS_BYTES);  // the o with umlaut is the one byte 0xF6
    EXPECT_EQ(shown[0].caption, "MORV");
    EXPECT_EQ(shown[0].style, 0x30u);
  }
  EXPECT_EQ(saver_runs, 0);
}

TEST_F(EntryTest, AnythingElseDoesNothing) {
  answer = IDYES;
  for (const char* argument : {"/p", "/a", "s", "S", "/", "c", "/x", "/\xF6", "//s"}) {
    run({argument, "1234"});
    run({argument});
  }
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(saver_runs, 0);
  run({"/p", "/s"});  // argument 2 is never looked at
  EXPECT_EQ(saver_runs, 0);
}
