#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "gfx/core/screen.h"
#include "gfx/draw/view.h"
#include "gfx/image/image.h"
#include "gfx/image/put.h"

using namespace zv;

namespace {

class PutTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(screen_set_mode(13, 0, 2, SCREEN_NULL, 0), 0); }
  void TearDown() override { screen_exit_handler(); }

  // A 1-byte image whose pixel (x, y) is x + 16 * y.
  static ImageBuffer* numbered(int width, int height) {
    ImageBuffer* image = image_create(width, height, 0, 8, 0);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels(image)[y * image->pitch + x] = static_cast<uint8_t>(x + 16 * y);
    return image;
  }
  static uint8_t* pixels(ImageBuffer* image) { return reinterpret_cast<uint8_t*>(image) + 32; }
  static uint8_t screen(int x, int y) { return current_screen->pages[0][y * 320 + x]; }
  static int put(ImageBuffer* target, float x, float y, ImageBuffer* source, int32_t x1 = NOT_GIVEN, int32_t y1 = 0,
                 int32_t x2 = 0, int32_t y2 = 0, int32_t mode = 0) {
    return put_image(target, x, y, source, x1, y1, x2, y2, mode, PUT_MODE_XOR, put_xor_dispatch, -1, nullptr, 0);
  }
  static int dirty_rows() {
    int n = 0;
    for (int y = 0; y < 200; ++y) n += current_screen->dirty[y];
    return n;
  }
};

}  // namespace

TEST_F(PutTest, XorTwiceRestoresTheDestination) {
  std::mt19937 random(99);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 320; ++x) current_screen->pages[0][y * 320 + x] = static_cast<uint8_t>(random());
  std::vector<uint8_t> before(current_screen->pages[0], current_screen->pages[0] + 320 * 200);
  ImageBuffer* image = numbered(53, 66);
  ASSERT_EQ(put(nullptr, 100, 50, image), 0);
  EXPECT_EQ(screen(100 + 3, 50 + 2), before[(52) * 320 + 103] ^ (3 + 32));
  ASSERT_EQ(put(nullptr, 100, 50, image), 0);
  EXPECT_EQ(std::memcmp(before.data(), current_screen->pages[0], before.size()), 0);
  image_destroy(image);
}

TEST_F(PutTest, ClipsOnAllFourSidesAndMarksTheRowsWritten) {
  ImageBuffer* image = numbered(16, 16);
  std::memset(current_screen->dirty, 0, 200);
  ASSERT_EQ(put(nullptr, -10, -10, image), 0);
  EXPECT_EQ(screen(0, 0), 10 + 16 * 10);
  EXPECT_EQ(screen(5, 5), 15 + 16 * 15);
  EXPECT_EQ(screen(6, 0), 0);
  EXPECT_EQ(dirty_rows(), 6);
  EXPECT_EQ(current_screen->dirty[5], 1);
  ASSERT_EQ(put(nullptr, 310, 190, image), 0);
  EXPECT_EQ(screen(319, 199), 9 + 16 * 9);
  EXPECT_EQ(screen(310, 190), 0);
  // Entirely outside: nothing, and no error.
  for (auto [x, y] : {std::pair{-16.f, 0.f}, {320.f, 0.f}, {0.f, -16.f}, {0.f, 200.f}, {3e9f, 0.f}, {NAN, -INFINITY}})
    EXPECT_EQ(put(nullptr, x, y, image), 0);
  EXPECT_FALSE(current_screen->flags & (GS_LOCKED | GS_AUTO_LOCKED));
  image_destroy(image);
}

// The right edge, of the screen and of a view, against a model of the whole page: an
// image put across it shows exactly its columns left of the edge, on every row, and
// nothing lands to the right of the edge or wraps into the next row.
TEST_F(PutTest, RightEdgeClipsAtTheLastColumnExactly) {
  ImageBuffer* image = numbered(16, 12);
  struct Edge {
    bool view;
    int32_t right;  // the last column shown
  };
  for (Edge edge : {Edge{false, 319}, Edge{true, 200}}) {
    if (edge.view) view_set(100, 20, edge.right, 180, 0, 0, VIEW_SCREEN | VIEW_NO_BORDER | VIEW_NO_FILL);
    for (int32_t x = edge.right - 17; x <= edge.right + 1; ++x) {
      SCOPED_TRACE(testing::Message() << "x " << x << (edge.view ? " in a view" : " on the screen"));
      std::memset(current_screen->pages[0], 0, 320 * 200);
      ASSERT_EQ(put(nullptr, static_cast<float>(x), 50, image), 0);
      int wrong = 0;
      for (int y = 0; y < 200; ++y) {
        for (int sx = 0; sx < 320; ++sx) {
          const bool inside = sx >= x && sx < x + 16 && sx <= edge.right && y >= 50 && y < 62;
          const uint8_t want = inside ? static_cast<uint8_t>(sx - x + 16 * (y - 50)) : 0;
          if (screen(sx, y) != want && ++wrong <= 3) ADD_FAILURE() << "pixel " << sx << "," << y;
        }
      }
      EXPECT_EQ(wrong, 0);
    }
    if (edge.view) view_set(VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, VIEW_NOT_GIVEN, 0, 0, 0);
  }
  image_destroy(image);
}

TEST_F(PutTest, SourceRectanglesAreOrderedAndClamped) {
  ImageBuffer* image = numbered(16, 16);
  ASSERT_EQ(put(nullptr, 0, 0, image, 5, 6, 2, 3), 0);  // corners given the wrong way round
  EXPECT_EQ(screen(0, 0), 2 + 16 * 3);
  EXPECT_EQ(screen(3, 3), 5 + 16 * 6);
  EXPECT_EQ(screen(4, 0), 0);
  ASSERT_EQ(put(nullptr, 100, 0, image, 14, 14, 40, 40), 0);  // past the image: clamped
  EXPECT_EQ(screen(101, 1), 15 + 16 * 15);
  EXPECT_EQ(screen(102, 0), 0);
  ASSERT_EQ(put(nullptr, 200, 0, image, 1, 1, 2, 2, 1), 0);  // second corner relative
  EXPECT_EQ(screen(202, 2), 3 + 16 * 3);
  ASSERT_EQ(put(nullptr, 250, 0, image, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX, 3), 0);
  image_destroy(image);
}

TEST_F(PutTest, RelativeDestinationUsesTheLastPoint) {
  ImageBuffer* image = numbered(4, 4);
  DrawContext* c = get_draw_context();
  c->last_x = 100;
  c->last_y = 50;
  ASSERT_EQ(put(nullptr, 5, 5, image, NOT_GIVEN, 0, 0, 0, 2), 0);
  EXPECT_EQ(screen(105 + 1, 55 + 2), 1 + 32);
  EXPECT_EQ(c->last_x, 105);
  EXPECT_EQ(c->last_y, 55);
  image_destroy(image);
}

TEST_F(PutTest, IntoAnotherImageAndOntoAHiddenPage) {
  ImageBuffer* source = numbered(4, 4);
  ImageBuffer* target = image_create(8, 8, 0, 8, 0);
  std::memset(current_screen->dirty, 0, 200);
  ASSERT_EQ(put(target, 2, 2, source), 0);
  EXPECT_EQ(pixels(target)[3 * 16 + 3], 1 + 16);
  screen_set_pages(1, 0);
  ASSERT_EQ(put(nullptr, 0, 0, source), 0);
  EXPECT_EQ(current_screen->pages[1][320 + 1], 1 + 16);
  EXPECT_EQ(dirty_rows(), 0);
  image_destroy(source);
  image_destroy(target);
}

TEST_F(PutTest, RefusesWhatItCannotPut) {
  ImageBuffer* image = numbered(4, 4);
  ImageBuffer* deep = image_create(4, 4, 0, 32, 0);
  EXPECT_EQ(put(nullptr, 0, 0, deep), 1);  // depth mismatch
  EXPECT_EQ(put(nullptr, 0, 0, nullptr), 1);
  EXPECT_EQ(put_image(nullptr, 0, 0, image, NOT_GIVEN, 0, 0, 0, 4, 5, put_xor_dispatch, -1, nullptr, 0), 1);
  EXPECT_EQ(put_image(nullptr, 0, 0, image, NOT_GIVEN, 0, 0, 0, 0, 10, put_xor_dispatch, -1, nullptr, 0), 1);
  EXPECT_EQ(put_image(nullptr, 0, 0, image, NOT_GIVEN, 0, 0, 0, 0, 3, nullptr, -1, nullptr, 0), 1);
  EXPECT_EQ(get_error(), 1);
  // A header that claims more than its block holds.
  image->height = 5000;
  EXPECT_EQ(put(nullptr, 0, 0, image), 1);
  image->height = 4;
  image->pitch = 1 << 20;
  EXPECT_EQ(put(nullptr, 0, 0, image), 1);
  image->pitch = 16;
  deep->width = 1 << 30;
  EXPECT_EQ(put(deep, 0, 0, deep), 1);
  EXPECT_EQ(put(nullptr, 0, 0, image), 0);
  EXPECT_EQ(get_error(), 0);
  image_destroy(image);
  image_destroy(deep);
  screen_exit_handler();
  image = nullptr;
  EXPECT_EQ(put(nullptr, 0, 0, image), 1);
}

TEST_F(PutTest, AlphaModeSetsOnlyTheAlphaBytesOfAFourByteTarget) {
  ImageBuffer* mask = numbered(4, 2);
  ImageBuffer* target = image_create(4, 2, 0x123456, 32, 0);
  ASSERT_EQ(put_image(target, 0, 0, mask, NOT_GIVEN, 0, 0, 0, 0, PUT_MODE_ALPHA, nullptr, -1, nullptr, 0), 0);
  uint32_t p;
  std::memcpy(&p, reinterpret_cast<uint8_t*>(target) + 32 + 16 + 8, 4);
  EXPECT_EQ(p, 0x12123456u);  // pixel (2, 1): alpha 2 + 16
  // Onto a 1-byte target the alpha form does not exist.
  EXPECT_EQ(put_image(nullptr, 0, 0, mask, NOT_GIVEN, 0, 0, 0, 0, PUT_MODE_ALPHA, nullptr, -1, nullptr, 0), 1);
  image_destroy(mask);
  image_destroy(target);
}
