#include <gtest/gtest.h>

#include <cstring>

#include "gfx/core/screen.h"
#include "gfx/image/image.h"

using namespace zv;

namespace {

class ImageTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(screen_set_mode(18, 32, 1, SCREEN_NULL, 0), 0); }
  void TearDown() override {
    screen_exit_handler();
    runtime.language_option = 0;
  }
};

uint32_t pixel32(const ImageBuffer* image, int x, int y) {
  uint32_t v;
  std::memcpy(&v, reinterpret_cast<const uint8_t*>(image) + 32 + y * image->pitch + 4 * x, 4);
  return v;
}

}  // namespace

TEST_F(ImageTest, TheSaverImage) {
  ImageBuffer* image = image_create(53, 66, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->type, 7u);
  EXPECT_EQ(image->bytes_per_pixel, 4);
  EXPECT_EQ(image->pitch, 224);
  EXPECT_EQ(image_block_size(image), 14816u);
  EXPECT_EQ(pixel32(image, 52, 65), 0u);
  EXPECT_EQ(get_draw_context()->target, image);
  image_destroy(image);
  EXPECT_EQ(image_block_size(image), 0u);
}

TEST_F(ImageTest, PitchIsRoundedToSixteenBytes) {
  for (auto [width, pitch] : {std::pair{5, 16}, {16, 16}, {17, 32}}) {
    ImageBuffer* image = image_create(width, 1, 0, 8, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pitch, pitch) << width;
    image_destroy(image);
  }
}

TEST_F(ImageTest, DepthsAndColours) {
  ImageBuffer* image = image_create(3, 2, 0xFF8040, 16, 0);
  ASSERT_NE(image, nullptr);
  uint16_t p;
  std::memcpy(&p, reinterpret_cast<uint8_t*>(image) + 32 + 16 + 4, 2);
  EXPECT_EQ(p, 0xFC08);
  image_destroy(image);
  image = image_create(3, 2, 0x123456, 16, -1);
  std::memcpy(&p, reinterpret_cast<uint8_t*>(image) + 32, 2);
  EXPECT_EQ(p, 0xF81F);
  image_destroy(image);
  image = image_create(3, 2, 0, 32, -1);
  EXPECT_EQ(pixel32(image, 2, 1), 0xFFFF00FFu);
  image_destroy(image);
  for (int depth : {17, 24, 33, 1000, INT32_MAX}) EXPECT_EQ(image_create(3, 2, 0, depth, 0), nullptr) << depth;
  for (auto [w, h] : {std::pair{0, 1}, {1, 0}, {-5, 5}, {INT32_MIN, 1}}) EXPECT_EQ(image_create(w, h, 0, 0, 0), nullptr);
}

TEST_F(ImageTest, SizesWhoseBytesOverflowGiveNone) {
  EXPECT_EQ(image_create(INT32_MAX, 1, 0, 32, 0), nullptr);
  EXPECT_EQ(image_create(INT32_MAX / 4 - 2, 1, 0, 32, 0), nullptr);  // pitch rounds past 2^31
  // Representable but more than any allocator gives.
  EXPECT_EQ(image_create(1 << 28, INT32_MAX, 0, 8, 0), nullptr);
}

TEST_F(ImageTest, AnImageWithTheScreensDepthCanBeDrawnInto) {
  ImageBuffer* image = image_create(4, 4, 0, 8, 0);  // a 1-byte image on a 4-byte screen
  DrawContext* c = get_draw_context();
  EXPECT_EQ(c->bytes_per_pixel, 1);
  c->put_pixel(c, 3, 3, 0x7F);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(image)[32 + 3 * 16 + 3], 0x7F);
  image_destroy(image);
}

TEST_F(ImageTest, DestroyingTheTargetSelectsTheScreen) {
  ImageBuffer* image = image_create(4, 4, 0, 0, 0);
  DrawContext* c = get_draw_context();
  ASSERT_EQ(c->target, image);
  image_destroy(image);
  EXPECT_EQ(c->target, nullptr);
  EXPECT_EQ(c->rows[0], current_screen->pages[0]);
  EXPECT_EQ(c->view_w, 640);
  // A new image, perhaps at the same address, is selected afresh.
  ImageBuffer* again = image_create(2, 2, 0, 8, 0);
  EXPECT_EQ(c->target, again);
  EXPECT_EQ(c->view_w, 2);
  EXPECT_EQ(c->bytes_per_pixel, 1);
  image_destroy(again);
  image_destroy(nullptr);
}

TEST_F(ImageTest, ShortHeaderInTheCompatibilityDialect) {
  runtime.language_option = 1;
  ImageBuffer* image = image_create(10, 3, 0x00FF00, 0, 0);
  ASSERT_NE(image, nullptr);
  const uint8_t* b = reinterpret_cast<const uint8_t*>(image);
  EXPECT_EQ(b[0], (4 | 10 << 3) & 0xFF);
  EXPECT_EQ(b[1], 10 >> 5);
  EXPECT_EQ(b[2], 3);
  EXPECT_EQ(image_block_size(image), 4u + 3 * 40);
  ImageGeometry g;
  ASSERT_TRUE(image_geometry(image, 1, &g));
  EXPECT_EQ(g.pitch, 40);
  EXPECT_EQ(g.pixels, b + 4);
  uint32_t last;
  std::memcpy(&last, b + 4 + 2 * 40 + 36, 4);
  EXPECT_EQ(last, 0x00FF00u);
  image_destroy(image);
  EXPECT_EQ(image_create(8192, 1, 0, 0, 0), nullptr);  // wider than 13 bits
}

TEST_F(ImageTest, CorruptedHeadersAreNotUsable) {
  ImageBuffer* image = image_create(8, 8, 0, 32, 0);
  ImageGeometry g;
  EXPECT_TRUE(image_geometry(image, 4, &g));
  ImageBuffer saved = *image;
  for (auto corrupt : {+[](ImageBuffer* i) { i->height = 9; }, +[](ImageBuffer* i) { i->pitch = 4096; },
                       +[](ImageBuffer* i) { i->bytes_per_pixel = 3; }, +[](ImageBuffer* i) { i->width = -1; },
                       +[](ImageBuffer* i) { i->pitch = 16; }, +[](ImageBuffer* i) { i->type = 0x7FFF; }}) {
    *image = saved;
    corrupt(image);
    EXPECT_FALSE(image_geometry(image, 4, &g));
    // As a drawing target it offers nothing to draw into.
    DrawContext* c = get_draw_context();
    select_target(c, nullptr);
    select_target(c, image);
    EXPECT_EQ(c->view_w * c->view_h, 0);
  }
  *image = saved;
  image_destroy(image);
}
