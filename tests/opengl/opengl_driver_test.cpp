// The OpenGL driver in the driver list, and an OpenGL screen asked for where there is
// no OpenGL: the mode set reports its error and nothing is left open.
#include <gtest/gtest.h>

#include <string>

#include "display/host/window_host.h"
#include "display/opengl/opengl_driver.h"
#include "display/opengl/opengl_settings.h"
#include "gfx/core/screen.h"
#include "runtime/runtime.h"
#include "support/fake_driver.h"

namespace zv {
namespace {

class OpenGLScreen : public testing::Test {
 protected:
  void SetUp() override {
    test::restore_driver_list();
    test::set_test_env("ZVGFX", nullptr);
    saved_ = opengl_settings();
  }
  void TearDown() override {
    screen_exit_handler();
    set_opengl_library_name(nullptr);
    test::set_test_env("ZVGFX", nullptr);
    opengl_settings() = saved_;
  }
  static void expect_nothing_open() {
    EXPECT_EQ(graphics_state(), nullptr);
    EXPECT_EQ(window_host.running, 0);
    EXPECT_EQ(window_host.window, nullptr);
  }
  OpenGLSettings saved_{};
};

TEST_F(OpenGLScreen, OpenGLIsTheLastDriverAndTheOnlyOneThatTakesOpenGLScreens) {
  const DisplayDriver* const* list = display_driver_list();
  int32_t n = 0;
  while (list[n]) ++n;
  ASSERT_GE(n, 2);
  EXPECT_EQ(list[n - 1], &opengl_driver);
  EXPECT_STREQ(opengl_driver.driver_name, "OpenGL");
  for (int32_t i = 0; i < n - 1; ++i) {
    EXPECT_EQ(list[i]->open_display("t", 640, 480, 16, 0, SCREEN_OPENGL), -1) << list[i]->driver_name;
    if (list[i]->close_display) list[i]->close_display();
  }
}

TEST_F(OpenGLScreen, ItsRecordHasNoLockWorkNorPaletteAndFlipsPagesItself) {
  EXPECT_EQ(opengl_driver.set_palette_entry, nullptr);
  EXPECT_NE(opengl_driver.present_frame, nullptr);
  EXPECT_NE(opengl_driver.pump_input, nullptr);
  EXPECT_NE(opengl_driver.list_modes, nullptr);
  opengl_driver.lock();  // nothing to take, so nothing to wait for
  opengl_driver.lock();
  opengl_driver.unlock();
}

TEST_F(OpenGLScreen, RefusesScreensWithoutTheFlagOrWithoutAFrame) {
  EXPECT_EQ(opengl_driver.open_display("t", 640, 480, 16, 0, 0), -1);
  opengl_driver.close_display();
  EXPECT_EQ(opengl_driver.open_display("t", 640, 480, 16, 0, SCREEN_OPENGL | SCREEN_NO_FRAME), -1);
  opengl_driver.close_display();
  expect_nothing_open();
}

TEST_F(OpenGLScreen, WithoutTheLibraryTheModeSetFailsAndNothingStaysOpen) {
  set_opengl_library_name("zv-no-such-opengl-library");
  for (const char* name : {static_cast<const char*>(nullptr), "OpenGL", "opengl"}) {
    test::set_test_env("ZVGFX", name);
    EXPECT_EQ(screen_set_resolution(640, 480, 32, 1, SCREEN_OPENGL, 0), 1) << (name ? name : "(no name)");
    EXPECT_EQ(get_error(), 1);
    expect_nothing_open();
    EXPECT_EQ(screen_set_mode(18, 32, 1, SCREEN_OPENGL | SCREEN_FULLSCREEN | SCREEN_MULTISAMPLE, 0), 1);
    expect_nothing_open();
  }
}

TEST_F(OpenGLScreen, SettingsThatFitNoPixelFormatAreRefusedAndKept) {
  opengl_settings() = OpenGLSettings{};
  opengl_settings().depth_bits = -24;
  opengl_settings().samples = 1000;
  EXPECT_EQ(screen_set_resolution(640, 480, 32, 1, SCREEN_OPENGL, 0), 1);
  expect_nothing_open();
  EXPECT_EQ(opengl_settings().depth_bits, -24);
  EXPECT_EQ(opengl_settings().samples, 1000);
  EXPECT_EQ(opengl_settings().colour_bits, 0);  // no defaults filled in by a refused open
}

}  // namespace
}  // namespace zv
