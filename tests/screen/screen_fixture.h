// Shared set-up for the screen tests: fake drivers in the list, and no screen left open.
#pragma once

#include <gtest/gtest.h>

#include "support/fake_driver.h"
#include "gfx/core/screen.h"

class ScreenTest : public testing::Test {
 protected:
  void SetUp() override { zv::test::install_fake_drivers(2); }
  void TearDown() override {
    zv::screen_exit_handler();
    zv::limit_screen_allocations(-1);
    zv::test::restore_driver_list();
  }
  static zv::GraphicsState* gs() { return zv::current_screen; }
};
