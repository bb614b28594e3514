// The request in GLX's terms: the attribute list pair by pair, and the description.
#include <gtest/gtest.h>

#include <GL/glx.h>

#include <vector>

#include "display/opengl/glx/glx_attributes.h"

namespace zv {
namespace {

std::vector<int32_t> until_none(const int32_t* list) {
  std::vector<int32_t> v;
  for (int32_t i = 0; list[i] != None; i += 2) v.insert(v.end(), {list[i], list[i + 1]});
  return v;
}

const std::vector<int32_t> WINDOW = {GLX_X_RENDERABLE, True, GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                                     GLX_RENDER_TYPE,  GLX_RGBA_BIT, GLX_X_VISUAL_TYPE, GLX_TRUE_COLOR};

std::vector<int32_t> after_window(std::vector<int32_t> pairs) {
  std::vector<int32_t> v = WINDOW;
  v.insert(v.end(), pairs.begin(), pairs.end());
  return v;
}

OpenGLAttributes request(int32_t depth, int32_t flags, PixelFormatDescription* d) {
  OpenGLSettings s{};
  opengl_fill_defaults(&s, depth, flags);
  OpenGLAttributes list;
  opengl_build_request(s, &list, d);
  return list;
}

TEST(GlxAttributes, EveryPairOfTheListHasItsGlxCounterpart) {
  PixelFormatDescription d;
  const int32_t all = SCREEN_STENCIL_BUFFER | SCREEN_ACCUMULATION_BUFFER | SCREEN_MULTISAMPLE;
  OpenGLAttributes list = request(32, all, &d);
  int32_t out[GLX_ATTRIBUTE_CAPACITY];
  ASSERT_TRUE(glx_attributes_from_list(list.values, true, out));
  EXPECT_EQ(until_none(out), after_window({
                                 GLX_CONFIG_CAVEAT, GLX_NONE, GLX_DOUBLEBUFFER, 1,    // window bit is in the prefix
                                 GLX_BUFFER_SIZE, 32, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                                 GLX_ALPHA_SIZE, 8, GLX_DEPTH_SIZE, 16,              // total accumulation dropped
                                 GLX_ACCUM_RED_SIZE, 8, GLX_ACCUM_GREEN_SIZE, 8, GLX_ACCUM_BLUE_SIZE, 8,
                                 GLX_ACCUM_ALPHA_SIZE, 8, GLX_STENCIL_SIZE, 8, GLX_SAMPLE_BUFFERS, 1,
                                 GLX_SAMPLES, 4,
                             }));
}

TEST(GlxAttributes, SamplesNeedTheMultisampleExtension) {
  PixelFormatDescription d;
  int32_t out[GLX_ATTRIBUTE_CAPACITY];
  EXPECT_FALSE(glx_attributes_from_list(request(16, SCREEN_MULTISAMPLE, &d).values, false, out));
  EXPECT_TRUE(glx_attributes_from_list(request(16, 0, &d).values, false, out));
  EXPECT_EQ(until_none(out), after_window({GLX_CONFIG_CAVEAT, GLX_NONE, GLX_DOUBLEBUFFER, 1, GLX_BUFFER_SIZE, 16,
                                           GLX_RED_SIZE, 5, GLX_GREEN_SIZE, 5, GLX_BLUE_SIZE, 5, GLX_ALPHA_SIZE, 0,
                                           GLX_DEPTH_SIZE, 16}));
}

TEST(GlxAttributes, DescriptionAsMinimumsOrTheBareWindow) {
  PixelFormatDescription d;
  request(24, SCREEN_STENCIL_BUFFER, &d);
  int32_t out[GLX_ATTRIBUTE_CAPACITY];
  glx_attributes_from_description(d, false, out);
  EXPECT_EQ(until_none(out), after_window({GLX_DOUBLEBUFFER, True, GLX_BUFFER_SIZE, 24, GLX_RED_SIZE, 8,
                                           GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8, GLX_DEPTH_SIZE, 16,
                                           GLX_STENCIL_SIZE, 8}));
  glx_attributes_from_description(d, true, out);
  EXPECT_EQ(until_none(out), after_window({GLX_DOUBLEBUFFER, True}));
  glx_attributes_from_description(opengl_initial_description(), false, out);
  EXPECT_EQ(until_none(out), after_window({GLX_DOUBLEBUFFER, True, GLX_DEPTH_SIZE, 32}));
}

}  // namespace
}  // namespace zv
