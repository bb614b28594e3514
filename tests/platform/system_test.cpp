#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"

using namespace zv::platform;

TEST(PlatformSystem, ClocksRunForward) {
  int64_t frequency = 0;
  ASSERT_TRUE(perf_frequency(&frequency));
  EXPECT_GT(frequency, 0);
  const int64_t counter = perf_counter();
  const uint32_t ticks = tick_count();
  sleep_ms(2);
  EXPECT_GE(perf_counter(), counter);
  EXPECT_LT(tick_count() - ticks, 60000u);  // unsigned: a backward step would wrap
  sleep_ms(0);
  sleep_ms(-1);  // would be INFINITE if it reached Sleep unchecked
}

TEST(PlatformSystem, ModulePathNamesThisTestAndFitsAnyBuffer) {
  char path[1024];
  const int32_t length = module_path(path, sizeof path);
  ASSERT_GT(length, 0);
  EXPECT_EQ(static_cast<size_t>(length), std::strlen(path));
  EXPECT_NE(std::string(path).find("test_platform"), std::string::npos) << path;

  char small[8];
  std::memset(small, '#', sizeof small);
  EXPECT_LE(module_path(small, sizeof small), 7);
  EXPECT_LT(std::strlen(small), sizeof small);
  EXPECT_EQ(module_path(small, 0), 0);
  EXPECT_EQ(module_path(nullptr, 10), 0);
}

TEST(PlatformSystem, EnvironmentLookup) {
  EXPECT_NE(get_env("PATH"), nullptr);
  EXPECT_EQ(get_env("ZV_SURELY_NOT_SET_ANYWHERE_4711"), nullptr);
  EXPECT_EQ(get_env(nullptr), nullptr);
}

TEST(PlatformSystem, LibrariesByName) {
#ifdef _WIN32
  const char* name = "kernel32.dll";
  const char* symbol = "GetTickCount";
#else
  const char* name = "libc.so.6";
  const char* symbol = "strlen";
#endif
  Library* library = library_open(name);
  ASSERT_NE(library, nullptr);
  EXPECT_NE(library_symbol(library, symbol), nullptr);
  EXPECT_EQ(library_symbol(library, "zv_no_such_symbol"), nullptr);
  EXPECT_EQ(library_symbol(library, nullptr), nullptr);
  library_close(library);
  EXPECT_EQ(library_open("zv-no-such-library.dll"), nullptr);
  EXPECT_EQ(library_open(nullptr), nullptr);
  EXPECT_EQ(library_symbol(nullptr, symbol), nullptr);
  library_close(nullptr);
}
