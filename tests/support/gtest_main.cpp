#include <gtest/gtest.h>

#include "runtime/runtime.h"

// The runtime is brought up once, the way the program's start code does it.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  zv::runtime_init();
  int result = RUN_ALL_TESTS();
  zv::runtime_exit();
  return result;
}
