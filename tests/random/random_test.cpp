#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "runtime/random_timer.h"
#include "runtime/runtime.h"

using namespace zv;

namespace {

constexpr long double TWO_POW_32 = 4294967296.0L;
constexpr long double TWO_POW_24 = 16777216.0L;

class RandomTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_option_ = runtime.language_option;
    runtime.language_option = 0;
    random_reset();
  }
  void TearDown() override {
    runtime.language_option = saved_option_;
    set_timer_function(nullptr);
    set_sleep_function(nullptr);
    random_reset();
  }
  int32_t saved_option_ = 0;
};

// A standard twister holding the words that randomize builds from word 0.
std::mt19937 twister_seeded_like_randomize(uint32_t word0) {
  std::stringstream state;
  uint32_t word = word0;
  for (int i = 0; i < 624; ++i) {
    state << word << ' ';
    word = word * 1664525u + 1013904223u;
  }
  state << 624;  // position past the end: the next draw regenerates the block
  std::mt19937 reference;
  state >> reference;
  return reference;
}

uint32_t lcg24_step(uint32_t state) { return (state * 16598013u + 12820163u) & 0xFFFFFF; }

}  // namespace

TEST_F(RandomTest, TwisterMatchesTheStandardEngineAcrossBlocks) {
  for (double seed : {12345.0, 0.0, -1.5, 4294967296.0 + 7.9}) {
    randomize(seed, RND_MT19937);
    const uint32_t word0 = seed == -1.5 ? 0xFFFFFFFFu : seed == 0.0 ? 0u : seed == 12345.0 ? 12345u : 7u;
    std::mt19937 reference = twister_seeded_like_randomize(word0);
    for (int i = 0; i < 1500; ++i) {
      const long double value = rnd(1.0f);
      ASSERT_EQ(value * TWO_POW_32, static_cast<long double>(reference())) << "seed " << seed << " draw " << i;
    }
  }
}

TEST_F(RandomTest, ZeroRepeatsTheLastValueEvenAfterAReseed) {
  randomize(1.0, RND_MT19937);
  EXPECT_EQ(rnd(0.0f), 0.0L);  // nothing drawn yet
  const long double drawn = rnd(1.0f);
  randomize(99.0, RND_MT19937);
  EXPECT_EQ(rnd(0.0f), drawn);
  EXPECT_NE(rnd(std::numeric_limits<float>::quiet_NaN()), drawn);  // NaN is not zero: it draws
}

TEST_F(RandomTest, LinearGeneratorsStepAndReport) {
  randomize(5.9, RND_LCG32);
  const uint32_t expected = 5u * 1664525u + 1013904223u;
  EXPECT_EQ(rnd(1.0f), expected / TWO_POW_32);
  EXPECT_EQ(rnd(0.0f), expected / TWO_POW_32);
  EXPECT_EQ(rnd(-3.0f), (expected * 1664525u + 1013904223u) / TWO_POW_32);

  randomize(-1.5, RND_LCG32);  // toward zero: -1, whose low 32 bits are all ones
  EXPECT_EQ(rnd(0.0f), 0xFFFFFFFFu / TWO_POW_32);

  // -1.0f has the bits 0xBF800000: the state restarts from 0xBF + 0x800000 every time.
  randomize(1.0, RND_LCG24);
  const long double restarted = lcg24_step(0xBF + 0x800000) / TWO_POW_24;
  EXPECT_EQ(rnd(-1.0f), restarted);
  EXPECT_EQ(rnd(2.0f), lcg24_step(lcg24_step(0xBF + 0x800000)) / TWO_POW_24);
  EXPECT_EQ(rnd(-1.0f), restarted);
  EXPECT_EQ(rnd(0.0f), restarted);
}

TEST_F(RandomTest, Lcg24SeedsFromTheHighWordAndKeepsTheLowByte) {
  randomize(7.0, RND_LCG32);  // leaves 7 in the shared state
  randomize(1.0, RND_LCG24);  // high word 0x3FF00000
  EXPECT_EQ(rnd(0.0f), ((((0x3FF00000u >> 16) ^ 0x3FF00000u) & 0xFFFF) << 8 | 7u) / TWO_POW_24);
}

TEST_F(RandomTest, HugeAndUndefinedSeedsAreDefined) {
  randomize(std::numeric_limits<double>::quiet_NaN(), RND_LCG32);
  EXPECT_EQ(rnd(0.0f), 0.0L);
  randomize(1e300, RND_LCG32);  // saturates at the largest 64-bit integer
  EXPECT_EQ(rnd(0.0f), 0xFFFFFFFFu / TWO_POW_32);
  randomize(-1e300, RND_LCG32);
  EXPECT_EQ(rnd(0.0f), 0.0L);
  randomize(std::numeric_limits<double>::infinity(), RND_CLIB);
  const long double value = rnd(1.0f);
  EXPECT_GE(value, 0.0L);
  EXPECT_LT(value, 1.0L);
}

TEST_F(RandomTest, FirstCallSelectsByLanguageOption) {
  const long double first = rnd(1.0f);
  randomize(0.0, RND_MT19937);
  EXPECT_EQ(first, rnd(1.0f));

  random_reset();
  runtime.language_option = 2;
  EXPECT_EQ(rnd(1.0f), lcg24_step(0x50000) / TWO_POW_24);
  EXPECT_EQ(rnd(0.0f), lcg24_step(0x50000) / TWO_POW_24);

  random_reset();
  runtime.language_option = 1;
  const long double clib = rnd(1.0f);
  EXPECT_EQ(clib * 32768.0L, std::floor(clib * 32768.0L));
  EXPECT_EQ(rnd(0.0f), clib);
}

TEST_F(RandomTest, AlgorithmZeroAndUnknownNumbersPickAGenerator) {
  runtime.language_option = 2;
  randomize(3.0, 0);  // the 24-bit generator for option 2
  EXPECT_EQ(rnd(-1.0f), lcg24_step(0xBF + 0x800000) / TWO_POW_24);
  runtime.language_option = 0;
  for (int32_t algorithm : {0, 5, -7}) {
    randomize(12345.0, algorithm);
    std::mt19937 reference = twister_seeded_like_randomize(12345);
    EXPECT_EQ(rnd(1.0f) * TWO_POW_32, static_cast<long double>(reference())) << algorithm;
  }
}

TEST_F(RandomTest, EveryGeneratorStaysInTheUnitInterval) {
  for (int32_t algorithm : {RND_CLIB, RND_LCG32, RND_MT19937, RND_LCG24}) {
    randomize(31337.0, algorithm);
    for (int i = 0; i < 3000; ++i) {
      const long double value = rnd(i % 7 == 0 ? -0.5f : 1.0f);
      ASSERT_GE(value, 0.0L);
      ASSERT_LT(value, 1.0L) << "algorithm " << algorithm;
    }
  }
}

namespace {
double fake_seconds = 0.0;
double fake_timer() { return fake_seconds; }
int32_t slept_total = 0;
void fake_sleep(int32_t ms) { slept_total += ms; }
}  // namespace

TEST_F(RandomTest, TimerSeedKeepsWholeSecondsAndTheClockCanBeReplaced) {
  set_timer_function(fake_timer);
  fake_seconds = 42.9;
  EXPECT_EQ(timer_seconds(), 42.9);
  randomize(-1.0, RND_LCG32);
  EXPECT_EQ(rnd(0.0f), 42.0L / TWO_POW_32);
  set_timer_function(nullptr);
  const double before = timer_seconds();
  EXPECT_GE(timer_seconds(), before);

  set_sleep_function(fake_sleep);
  slept_total = 0;
  runtime_sleep_ms(250);
  EXPECT_EQ(slept_total, 250);
  set_sleep_function(nullptr);
  runtime_sleep_ms(0);
  EXPECT_EQ(slept_total, 250);
}
