#include "screen_fixture.h"

using namespace zv;
using test::fake_opens;
using test::fake_state;

namespace {

// "driver:refresh:fullscreen" for each open_display call, in order.
std::vector<std::string> attempts() {
  std::vector<std::string> out;
  for (const auto& o : fake_opens())
    out.push_back(o.driver + ":" + std::to_string(o.refresh_rate) + ":" + std::to_string(o.flags & 1));
  return out;
}

const DisplayDriver* choose(const char* name, int32_t flags = 0) {
  return choose_display_driver(name, "title", 320, 200, 8, 70, flags);
}

class DriverChoiceTest : public ScreenTest {};

}  // namespace

TEST_F(DriverChoiceTest, WithoutANameTheFirstWorkingDriverWins) {
  EXPECT_EQ(choose(nullptr), test::fake_driver(0));
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake0:70:0"}));
  EXPECT_EQ(fake_opens()[0].title, "title");
  EXPECT_EQ(fake_opens()[0].width, 320);
}

TEST_F(DriverChoiceTest, EachDriverIsOfferedTheRateThenItsDefaultThenTheOtherWindowKind) {
  fake_state(0).failing_opens = -1;
  fake_state(1).failing_opens = 2;
  EXPECT_EQ(choose(nullptr, SCREEN_FULLSCREEN), test::fake_driver(1));
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake0:70:1", "Fake0:0:1", "Fake1:70:1", "Fake1:0:1",
                                                  "Fake0:70:0", "Fake0:0:0", "Fake1:70:0"}));
  // Every failed open was undone by the same driver.
  EXPECT_EQ(fake_state(0).closes, 4);
  EXPECT_EQ(fake_state(1).closes, 2);
}

TEST_F(DriverChoiceTest, ANamedDriverIsTriedFirstIgnoringCase) {
  EXPECT_EQ(choose("fAKE1"), test::fake_driver(1));
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake1:70:0"}));
}

TEST_F(DriverChoiceTest, AFailingNamedDriverIsFollowedByTheOthers) {
  fake_state(1).failing_opens = -1;
  EXPECT_EQ(choose("Fake1"), test::fake_driver(0));
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake1:70:0", "Fake1:0:0", "Fake0:70:0"}));
}

TEST_F(DriverChoiceTest, AnUnknownNameFallsBackToAnyDriver) {
  EXPECT_EQ(choose("DirectX"), test::fake_driver(0));
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake0:70:0"}));
}

TEST_F(DriverChoiceTest, WhenAllFailTheNamedSequenceRunsItsFourPasses) {
  fake_state(0).failing_opens = -1;
  fake_state(1).failing_opens = -1;
  EXPECT_EQ(choose("Fake1"), nullptr);
  // named; any; named again; any with window and full screen exchanged
  EXPECT_EQ(attempts(), (std::vector<std::string>{"Fake1:70:0", "Fake1:0:0",                                       //
                                                  "Fake0:70:0", "Fake0:0:0", "Fake1:70:0", "Fake1:0:0",             //
                                                  "Fake1:70:0", "Fake1:0:0",                                        //
                                                  "Fake0:70:1", "Fake0:0:1", "Fake1:70:1", "Fake1:0:1"}));
}

TEST_F(DriverChoiceTest, NullInAnyCaseOrTheNullFlagsOpenNothing) {
  for (const char* name : {"null", "NULL", "nUlL"}) EXPECT_EQ(choose(name), &null_driver);
  EXPECT_EQ(choose(nullptr, SCREEN_NULL), &null_driver);
  EXPECT_TRUE(fake_opens().empty());
  EXPECT_EQ(null_driver.open_display, nullptr);
  EXPECT_EQ(null_driver.close_display, nullptr);
  EXPECT_STREQ(null_driver.driver_name, "Null");
}

TEST_F(DriverChoiceTest, TheEnvironmentNamesTheDriverOfAModeSet) {
  test::set_test_env("ZVGFX", "Null");
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  EXPECT_EQ(gs()->driver, &null_driver);
  EXPECT_TRUE(fake_opens().empty());
  test::set_test_env("ZVGFX", "fake1");
  ASSERT_EQ(screen_set_mode(13, 0, 1, 0, 0), 0);
  EXPECT_EQ(gs()->driver, test::fake_driver(1));
  test::set_test_env("ZVGFX", nullptr);
}
