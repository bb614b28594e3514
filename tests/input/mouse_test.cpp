#include "input_fixture.h"

using namespace zv;
using input_test::fake;
using input_test::InputTest;

TEST_F(InputTest, GetMouseWithoutScreenGivesMinusOnesAndError1) {
  close_screen();
  int32_t v[5] = {7, 7, 7, 7, 7};
  EXPECT_EQ(gfx_get_mouse(&v[0], &v[1], &v[2], &v[3], &v[4]), 1);
  EXPECT_EQ(get_error(), 1);
  for (int32_t value : v) EXPECT_EQ(value, -1);
  EXPECT_EQ(gfx_set_mouse(1, 2, 3, 4), 1);
}

TEST_F(InputTest, GetMousePassesTheDriversAnswerUnderTheLock) {
  fake.mouse_result = 0;
  const int32_t answer[5] = {-20, 500, 3, 5, 1};  // outside the window is still an answer
  for (int i = 0; i < 5; ++i) fake.mouse[i] = answer[i];
  int32_t v[5] = {};
  EXPECT_EQ(gfx_get_mouse(&v[0], &v[1], &v[2], &v[3], &v[4]), 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(v[i], answer[i]);
  EXPECT_EQ(fake.depth_during_call, 1);

  int32_t x = 0, y = 0;
  EXPECT_EQ(gfx_get_mouse(&x, &y, nullptr, nullptr, nullptr), 0) << "the last three may be absent";
  EXPECT_EQ(x, -20);
  EXPECT_EQ(y, 500);
  EXPECT_EQ(gfx_get_mouse(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(InputTest, GetMouseFailureOrMissingOperationGivesMinusOnes) {
  fake.mouse_result = -1;
  fake.mouse[0] = 10;
  int32_t x = 0, y = 0, buttons = 0;
  set_error(0);
  EXPECT_EQ(gfx_get_mouse(&x, &y, nullptr, &buttons, nullptr), 1);
  EXPECT_EQ(get_error(), 1);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(buttons, -1);

  DisplayDriver no_mouse_driver{};
  no_mouse_driver.driver_name = "NoMouse";
  screen_.driver = &no_mouse_driver;
  x = 0;
  EXPECT_EQ(gfx_get_mouse(&x, &y, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(x, -1);
  EXPECT_EQ(gfx_set_mouse(-1, -1, 0, -1), 1);
}

TEST_F(InputTest, SetMousePassesTheValuesOn) {
  set_error(1);
  EXPECT_EQ(gfx_set_mouse(-1, 20, 0, -1), 0);
  EXPECT_EQ(get_error(), 0);
  EXPECT_EQ(fake.place_calls, 1);
  EXPECT_EQ(fake.placed[0], -1);
  EXPECT_EQ(fake.placed[1], 20);
  EXPECT_EQ(fake.placed[2], 0);
  EXPECT_EQ(fake.placed[3], -1);
  EXPECT_EQ(fake.depth_during_call, 1);
}
