// An independent model of the saver for its tests: the random draws in their order,
// the bounce and the colour rule, and a page built pixel by pixel from the model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morv::test {

struct ModelFrame {
  int32_t x, y;        // the bouncing copy as put this frame
  int32_t put_x2, put_y2;  // the second copy as put this frame
  int32_t colour;      // the next colour after this frame's step
  int32_t text_colour; // the colour the credit line is drawn in
  int32_t row;
  int32_t period;
  int32_t counter;
};

// Follows the saver from its set-up; reseeds the runtime's generator with seed.
class SaverModel {
 public:
  explicit SaverModel(double seed);
  ModelFrame next();
  int32_t setup_row() const { return setup_row_; }
  int32_t setup_period() const { return setup_period_; }
  int32_t setup_colour() const { return setup_colour_; }

 private:
  int32_t x_ = 0, y_ = 0, dx_ = 2, dy_ = 1, x2_ = 0, y2_ = 0;
  int32_t colour_ = 0, text_colour_ = 0, row_ = 0, period_ = 0, counter_ = 0;
  int32_t setup_row_ = 0, setup_period_ = 0, setup_colour_ = 0;
  int32_t frame_ = 0;
};

// The colour rule written out with 64-bit integers.
int32_t model_colour_step(int32_t colour, long double draw);

// A 640 x 400 page of 0xAARRGGBB pixels.
struct Page {
  static constexpr int32_t WIDTH = 640;
  static constexpr int32_t HEIGHT = 400;
  std::vector<uint32_t> pixels = std::vector<uint32_t>(WIDTH * HEIGHT);
};

struct Tower {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
};

// The page the saver should show at the end of the frame.
Page expected_page(const ModelFrame& frame, const Tower& tower);
// Reads the work page of a harness frame into a page.
Page read_page(const uint8_t* pixels, int32_t pitch);
// The number of differing pixels; the first one's place goes to *first_x, *first_y.
int64_t count_differences(const Page& a, const Page& b, int32_t* first_x, int32_t* first_y);

uint64_t fnv1a(const uint8_t* bytes, size_t count);

}  // namespace morv::test
