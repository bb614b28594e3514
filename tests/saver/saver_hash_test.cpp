// The same seed gives the same frames on every platform the saver builds for.
#include <gtest/gtest.h>

#include "saver_capture.h"

namespace morv::test {

TEST(SaverHash, TenthFrameOfSeed12345) {
  const Capture run = capture_run(12345, 10, [](int32_t n) { return n == 10; });
  ASSERT_EQ(run.frames.size(), 1u);
  const Page& page = run.frames[0].page;
  const uint64_t hash =
      fnv1a(reinterpret_cast<const uint8_t*>(page.pixels.data()), page.pixels.size() * sizeof(uint32_t));
  EXPECT_EQ(hash, 0x845b7e30f7ff7445ull) << std::hex << "hash 0x" << hash;
}

}  // namespace morv::test
