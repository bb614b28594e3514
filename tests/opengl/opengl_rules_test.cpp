// The OpenGL driver's rules: defaults, the request in both forms, the multisample
// fallback, the extension text and its word match, and the modes a depth lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/gdi/gdi_rules.h"
#include "display/mode_list.h"
#include "display/opengl/opengl_rules.h"

namespace zv {
namespace {

OpenGLSettings filled(int32_t depth, int32_t flags, OpenGLSettings s = {}) {
  opengl_fill_defaults(&s, depth, flags);
  return s;
}

std::vector<int32_t> as_vector(const OpenGLSettings& s) {
  std::vector<int32_t> v(13);
  std::memcpy(v.data(), &s, sizeof s);
  return v;
}

// Settings from their leading fields, the rest 0.
OpenGLSettings settings(std::vector<int32_t> fields) {
  fields.resize(13);
  OpenGLSettings s;
  std::memcpy(&s, fields.data(), sizeof s);
  return s;
}

TEST(OpenGLDefaults, TableOfDepthsFlagsAndGivenValues) {
  struct Case {
    const char* what;
    int32_t depth;
    int32_t flags;
    std::vector<int32_t> given;
    // colour, r, g, b, a, depth, stencil, accum, accum r, g, b, a, samples
    std::vector<int32_t> expected;
  };
  const int32_t all = SCREEN_STENCIL_BUFFER | SCREEN_ACCUMULATION_BUFFER | SCREEN_MULTISAMPLE;
  const Case cases[] = {
      {"16 bits", 16, 0, {}, {16, 5, 5, 5, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"24 bits", 24, 0, {}, {24, 8, 8, 8, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"32 bits", 32, 0, {}, {32, 8, 8, 8, 8, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"8 bits", 8, 0, {}, {8, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"every flag", 32, all, {}, {32, 8, 8, 8, 8, 16, 8, 32, 8, 8, 8, 8, 4}},
      {"stencil flag", 16, SCREEN_STENCIL_BUFFER, {}, {16, 5, 5, 5, 0, 16, 8, 0, 0, 0, 0, 0, 0}},
      {"multisample flag", 16, SCREEN_MULTISAMPLE, {}, {16, 5, 5, 5, 0, 16, 0, 0, 0, 0, 0, 0, 4}},
      {"colour from the channels", 32, 0, {0, 8, 8, 8, 0}, {24, 8, 8, 8, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"colour bits given", 32, 0, {16}, {16, 5, 5, 5, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"one channel given", 32, 0, {0, 0, 6}, {6, 0, 6, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0}},
      {"accumulation from a channel", 16, 0, {0, 0, 0, 0, 0, 0, 0, 0, 16},
       {16, 5, 5, 5, 0, 16, 0, 16, 16, 5, 5, 0, 0}},
      {"accumulation total given", 16, 0, {0, 0, 0, 0, 0, 0, 0, 24}, {16, 5, 5, 5, 0, 16, 0, 24, 8, 8, 8, 0, 0}},
      {"given values stay", 32, all, {0, 0, 0, 0, 0, 24, 1, 0, 0, 0, 0, 0, 8},
       {32, 8, 8, 8, 8, 24, 1, 32, 8, 8, 8, 8, 8}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(as_vector(filled(c.depth, c.flags, settings(c.given))), c.expected) << c.what;
  }
}

TEST(OpenGLDefaults, WhatOneOpenFilledStaysForTheNext) {
  OpenGLSettings s = filled(16, SCREEN_MULTISAMPLE);
  const std::vector<int32_t> first = as_vector(s);
  opengl_fill_defaults(&s, 32, SCREEN_STENCIL_BUFFER);
  std::vector<int32_t> second = as_vector(s);
  EXPECT_EQ(second[6], 8);  // the new flag's stencil is added
  second[6] = 0;
  EXPECT_EQ(second, first);  // 16-bit channels and 4 samples kept on a 32-bit screen
}

TEST(OpenGLDefaults, SettingsMustFitTheDescriptionsBytes) {
  EXPECT_TRUE(opengl_settings_valid(OpenGLSettings{}));
  EXPECT_TRUE(opengl_settings_valid(filled(32, SCREEN_MULTISAMPLE | SCREEN_ACCUMULATION_BUFFER)));
  for (int32_t field = 0; field < 13; ++field) {
    for (int32_t bad : {-1, 256, INT32_MIN}) {
      std::vector<int32_t> values(13);
      values[field] = bad;
      const OpenGLSettings s = settings(values);
      EXPECT_FALSE(opengl_settings_valid(s)) << "field " << field << " = " << bad;
    }
  }
}

// The pairs before the closing 0 (a value may be 0 too).
std::vector<int32_t> attributes_of(const OpenGLAttributes& list) {
  std::vector<int32_t> v;
  for (int32_t i = 0; list.values[i] != 0; i += 2) v.insert(v.end(), {list.values[i], list.values[i + 1]});
  return v;
}

TEST(OpenGLRequest, SixteenBitScreenAsksForFiveBitsAndASixteenBitDepthBuffer) {
  OpenGLAttributes list;
  PixelFormatDescription d;
  opengl_build_request(filled(16, 0), &list, &d);
  const std::vector<int32_t> expected = {
      0x2001, 1, 0x2003, 0x2027, 0x2011, 1,                            // window, full acceleration, double buffer
      0x2014, 16, 0x2015, 5, 0x2017, 5, 0x2019, 5, 0x201B, 0, 0x2022, 16,  // colour and depth, always
  };
  EXPECT_EQ(attributes_of(list), expected);
  EXPECT_EQ(list.samples_at, -1);
  EXPECT_EQ(opengl_requested_samples(list), 0);
}

TEST(OpenGLRequest, EveryBufferInOrderAndTheDescriptionsBytes) {
  OpenGLAttributes list;
  PixelFormatDescription d;
  const int32_t all = SCREEN_STENCIL_BUFFER | SCREEN_ACCUMULATION_BUFFER | SCREEN_MULTISAMPLE;
  opengl_build_request(filled(32, all), &list, &d);
  const std::vector<int32_t> expected = {
      0x2001, 1,  0x2003, 0x2027, 0x2011, 1,  0x2014, 32, 0x2015, 8,  0x2017, 8,  0x2019, 8,
      0x201B, 8,  0x2022, 16,     0x201D, 32, 0x201E, 8,  0x201F, 8,  0x2020, 8,  0x2021, 8,
      0x2023, 8,  0x2041, 1,      0x2042, 4,
  };
  EXPECT_EQ(attributes_of(list), expected);
  EXPECT_EQ(list.values[expected.size()], 0);
  EXPECT_EQ(opengl_requested_samples(list), 4);

  const uint8_t bytes[40] = {
      40, 0, 1, 0, 0x25, 0, 0, 0,  // size, version, flags
      0,  32, 8, 0, 8, 0, 8, 0, 8, 0,  // RGBA, colour bits, channels and shifts
      32, 8, 8, 8, 8,             // accumulation
      16, 8, 0, 0, 0,             // depth, stencil, aux buffers, layer type, reserved
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
  };
  EXPECT_EQ(std::memcmp(&d, bytes, sizeof bytes), 0);
}

TEST(OpenGLRequest, NoAccumulationAttributesWithoutValuesOrTheFlag) {
  for (int32_t depth : {8, 16, 24, 32}) {
    for (int32_t flags : {0, SCREEN_STENCIL_BUFFER, SCREEN_MULTISAMPLE}) {
      OpenGLAttributes list;
      PixelFormatDescription d;
      opengl_build_request(filled(depth, flags), &list, &d);
      for (int32_t name : attributes_of(list)) {
        EXPECT_FALSE(name >= 0x201D && name <= 0x2021) << "depth " << depth << " flags " << flags;
      }
      EXPECT_EQ(d.accum_bits + d.accum_red_bits + d.accum_green_bits + d.accum_blue_bits + d.accum_alpha_bits, 0);
    }
  }
}

TEST(OpenGLRequest, InitialDescriptionHoldsOnlyAThirtyTwoBitDepthBuffer) {
  PixelFormatDescription d = opengl_initial_description();
  PixelFormatDescription expected{};
  expected.size = 40;
  expected.version = 1;
  expected.flags = 0x25;
  expected.depth_bits = 32;
  EXPECT_EQ(std::memcmp(&d, &expected, sizeof d), 0);
}

// A chooser that refuses every sample count above `best` (and all, when best < 0).
struct FakeChoosers {
  int32_t best = -1;
  bool platform_answers = true;
  std::vector<int32_t> asked;  // sample counts asked by attributes (-1: none in the list)
  int32_t platform_calls = 0;
  static int32_t by_attributes(const int32_t* list, void* context) {
    auto* self = static_cast<FakeChoosers*>(context);
    int32_t samples = -1;
    for (int32_t i = 0; list[i] != 0; i += 2) {
      if (list[i] == WGL_SAMPLES_ARB) samples = list[i + 1];
    }
    self->asked.push_back(samples);
    return self->best >= 0 && samples <= self->best ? 100 + std::max(samples, 0) : 0;
  }
  static int32_t by_description(const PixelFormatDescription*, void* context) {
    auto* self = static_cast<FakeChoosers*>(context);
    ++self->platform_calls;
    return self->platform_answers ? 7 : 0;
  }
  OpenGLFormatChoosers choosers(bool with_extension = true) {
    return {with_extension ? by_attributes : nullptr, by_description, this};
  }
};

int32_t choose(int32_t samples, FakeChoosers& fake, bool with_extension = true, OpenGLAttributes* out = nullptr) {
  OpenGLSettings s{};
  s.samples = samples;
  opengl_fill_defaults(&s, 32, 0);
  OpenGLAttributes list;
  PixelFormatDescription d;
  opengl_build_request(s, &list, &d);
  const int32_t format = opengl_choose_format(&list, d, fake.choosers(with_extension));
  if (out) *out = list;
  return format;
}

TEST(OpenGLFormatFallback, WithoutMultisamplingFourSamplesGoToTwoThenZeroThenThePlatform) {
  FakeChoosers fake;
  OpenGLAttributes list;
  EXPECT_EQ(choose(4, fake, true, &list), 7);
  EXPECT_EQ(fake.asked, (std::vector<int32_t>{4, 2, 0}));
  EXPECT_EQ(fake.platform_calls, 1);
  EXPECT_EQ(opengl_requested_samples(list), 0);  // no multisampling to switch on
}

TEST(OpenGLFormatFallback, StopsAtTheFirstCountOffered) {
  FakeChoosers fake;
  fake.best = 2;
  OpenGLAttributes list;
  EXPECT_EQ(choose(4, fake, true, &list), 102);
  EXPECT_EQ(fake.asked, (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(fake.platform_calls, 0);
  EXPECT_EQ(opengl_requested_samples(list), 2);
}

TEST(OpenGLFormatFallback, OtherCountsAndListsWithoutSamples) {
  FakeChoosers odd;
  EXPECT_EQ(choose(3, odd), 7);
  EXPECT_EQ(odd.asked, (std::vector<int32_t>{3, 1}));  // -1 is never asked for

  FakeChoosers none;
  EXPECT_EQ(choose(0, none), 7);
  EXPECT_EQ(none.asked, (std::vector<int32_t>{-1}));  // asked once, then the platform
  EXPECT_EQ(none.platform_calls, 1);

  FakeChoosers accepted;
  accepted.best = 0;
  EXPECT_EQ(choose(0, accepted), 100);
  EXPECT_EQ(accepted.platform_calls, 0);
}

TEST(OpenGLFormatFallback, WithoutTheExtensionOnlyThePlatformIsAsked) {
  FakeChoosers fake;
  EXPECT_EQ(choose(4, fake, false), 7);
  EXPECT_TRUE(fake.asked.empty());
  FakeChoosers refusing;
  refusing.platform_answers = false;
  EXPECT_EQ(choose(4, refusing, false), 0);  // no format: the open fails
}

TEST(OpenGLExtensions, BgraCountsOnlyAsAWholeWord) {
  struct Case {
    const char* text;
    bool found;
  };
  const Case cases[] = {
      {"GL_EXT_bgra", true},
      {"GL_ARB_multitexture GL_EXT_bgra", true},
      {"GL_EXT_bgra GL_ARB_multitexture", true},
      {"GL_EXT_bgra ", true},
      {"GL_EXT_bgra_x GL_EXT_bgra", true},
      {"GL_EXT_bgra_x", false},
      {"GL_EXT_bgras GL_ARB_x", false},
      {"XGL_EXT_bgra", false},
      {"GL_EXT_bgr", false},
      {"", false},
      {nullptr, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(opengl_has_extension(c.text, "GL_EXT_bgra"), c.found) << (c.text ? c.text : "(none)");
  }
  EXPECT_FALSE(opengl_has_extension("GL_EXT_bgra", ""));
}

TEST(OpenGLExtensions, TextJoinsBothListsAndAlwaysEndsInTheBuffer) {
  std::vector<char> buffer(OPENGL_EXTENSION_TEXT_SIZE, 'x');
  opengl_extension_text(buffer.data(), "GL_ARB_a GL_EXT_bgra", "WGL_ARB_pixel_format WGL_ARB_multisample");
  EXPECT_STREQ(buffer.data(), "GL_ARB_a GL_EXT_bgra WGL_ARB_pixel_format WGL_ARB_multisample");
  EXPECT_TRUE(opengl_has_extension(buffer.data(), "GL_EXT_bgra"));
  EXPECT_TRUE(opengl_has_extension(buffer.data(), "WGL_ARB_pixel_format"));

  opengl_extension_text(buffer.data(), "GL_EXT_bgra ", "WGL_ARB_x");
  EXPECT_STREQ(buffer.data(), "GL_EXT_bgra WGL_ARB_x");
  opengl_extension_text(buffer.data(), nullptr, nullptr);
  EXPECT_STREQ(buffer.data(), "");

  // A long OpenGL text fills the buffer; the window system's gets what room is left.
  const std::string long_text(OPENGL_EXTENSION_TEXT_SIZE + 100, 'A');
  buffer.assign(OPENGL_EXTENSION_TEXT_SIZE, 'x');
  opengl_extension_text(buffer.data(), long_text.c_str(), "WGL_ARB_pixel_format");
  EXPECT_EQ(std::strlen(buffer.data()), static_cast<size_t>(OPENGL_EXTENSION_TEXT_SIZE - 1));
  EXPECT_EQ(buffer.back(), 0);
  const std::string almost(OPENGL_EXTENSION_TEXT_SIZE - 5, 'A');
  opengl_extension_text(buffer.data(), almost.c_str(), "WGL_ARB_pixel_format");
  EXPECT_EQ(std::string(buffer.data() + almost.size()), " WGL");
  EXPECT_FALSE(opengl_has_extension(buffer.data(), "WGL_ARB_pixel_format"));
}

// Modes as a driver's enumeration would report them: two refresh rates of 640 x 480 x 16.
constexpr DisplayModeEntry FAKE_MODES[] = {
    {640, 480, 16}, {640, 480, 15}, {800, 600, 16}, {800, 600, 15},
    {1024, 768, 32}, {1024, 768, 24}, {640, 480, 16}, {320, 200, 8},
};

bool fake_mode(int32_t index, DisplayModeEntry* mode) {
  if (index < 0 || index >= static_cast<int32_t>(std::size(FAKE_MODES))) return false;
  *mode = FAKE_MODES[index];
  return true;
}

std::vector<uint32_t> modes(int32_t depth, ModeRule rule) {
  int32_t count = -1;
  uint32_t* list = collect_modes(depth, &count, fake_mode, rule);
  std::vector<uint32_t> v(list, list + count);
  std::free(list);
  return v;
}

TEST(OpenGLModes, ExactDepthOnlySoSixteenBitsLeavesOutFifteen) {
  EXPECT_EQ(modes(16, opengl_mode_matches), (std::vector<uint32_t>{0x028001E0, 0x03200258, 0x028001E0}));
  EXPECT_EQ(modes(32, opengl_mode_matches), (std::vector<uint32_t>{0x04000300}));
  EXPECT_EQ(modes(15, opengl_mode_matches), (std::vector<uint32_t>{0x028001E0, 0x03200258}));
  // The GDI driver pairs 15 with 16 and 24 with 32 over the same walk.
  EXPECT_EQ(modes(16, gdi_mode_matches).size(), 5u);
  EXPECT_EQ(modes(32, gdi_mode_matches).size(), 2u);
  int32_t count = -1;
  EXPECT_EQ(collect_modes(4, &count, fake_mode, opengl_mode_matches), nullptr);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace zv
