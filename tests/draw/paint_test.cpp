#include <cstdlib>
#include <random>

#include "draw_fixture.h"
#include "gfx/draw/line.h"
#include "gfx/draw/paint.h"
#include "gfx/draw/view.h"

namespace zv::test {
namespace {

constexpr uint32_t WHITE = 0xFFFFFFFFu;
constexpr uint32_t BLUE = 0xFF0000FFu;

class PaintTest : public DrawTest {
 protected:
  void outline(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    draw_line(nullptr, float(x1), float(y1), float(x2), float(y2), WHITE, LINE_BOX_OUTLINE, LINE_STYLE_SOLID, 0);
  }
};

PixelSet rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  PixelSet p;
  for (int32_t y = y1; y <= y2; ++y)
    for (int32_t x = x1; x <= x2; ++x) p.insert({x, y});
  return p;
}

TEST_F(PaintTest, FillsExactlyTheInteriorOfAClosedOutline) {
  outline(5, 6, 20, 30);
  // A wall with a gap splits the inside; the fill passes through the gap.
  draw_line(nullptr, 12, 6, 12, 25, WHITE, 0, LINE_STYLE_SOLID, 0);
  paint_fill(nullptr, 8, 10, BLUE, WHITE, nullptr, 0, 0);
  PixelSet inside = rectangle(6, 7, 19, 29);
  for (int32_t y = 7; y <= 25; ++y) inside.erase({12, y});
  EXPECT_EQ(screen_surface().with_colour(BLUE), inside);
}

TEST_F(PaintTest, WithoutABorderTheWholeViewIsFilled) {
  view_set(10, 10, 40, 30, 0, 0, VIEW_SCREEN | VIEW_NO_BORDER | VIEW_NO_FILL);
  paint_fill(nullptr, 20, 20, BLUE, WHITE, nullptr, 0, 0);
  EXPECT_EQ(screen_surface().with_colour(BLUE), rectangle(10, 10, 40, 30));
}

TEST_F(PaintTest, SeedsOnTheBorderOrOutsideTheViewDoNothing) {
  outline(5, 5, 20, 20);
  paint_fill(nullptr, 5, 10, BLUE, WHITE, nullptr, 0, 0);   // on the border
  paint_fill(nullptr, -1, 10, BLUE, WHITE, nullptr, 0, 0);  // left of the screen
  paint_fill(nullptr, 10, 48, BLUE, WHITE, nullptr, 0, 0);  // below it
  paint_fill(nullptr, 1e30f, -1e30f, BLUE, WHITE, nullptr, 0, 0);
  view_set(30, 30, 40, 40, 0, 0, VIEW_SCREEN | VIEW_NO_BORDER | VIEW_NO_FILL);
  paint_fill(nullptr, 10, 10, BLUE, WHITE, nullptr, 0, 0);  // outside the view
  EXPECT_TRUE(screen_surface().with_colour(BLUE).empty());
}

TEST_F(PaintTest, FillColourAsBorderStopsAtThatColour) {
  outline(5, 5, 20, 20);
  draw_line(nullptr, -10, 30, 100, 30, BLUE, 0, LINE_STYLE_SOLID, 0);
  paint_fill(nullptr, 10, 40, BLUE, WHITE, nullptr, 0, PAINT_BORDER_IS_FILL);
  EXPECT_EQ(screen_surface().with_colour(BLUE), rectangle(0, 30, 63, 47));
}

TEST_F(PaintTest, TileColumnsFollowTheTargetColumnAndRowsTheTargetRow) {
  open_screen(40, 20, 8);
  // Tile row 0 only: pixel bytes 1..8; the other tile rows stay 0.
  char bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  StringDescriptor pattern{bytes, 8, 8};
  draw_line(nullptr, 12, 0, 12, 19, 9, 0, LINE_STYLE_SOLID, 0);
  draw_line(nullptr, 15, 0, 15, 19, 9, 0, LINE_STYLE_SOLID, 0);
  paint_fill(nullptr, 13, 8, 0, 9, &pattern, 1, 0);
  const Surface s = screen_surface();
  EXPECT_EQ(s.at(13, 8), 6u);  // column 13 takes tile column 5
  EXPECT_EQ(s.at(14, 8), 7u);
  EXPECT_EQ(s.at(13, 16), 6u);
  EXPECT_EQ(s.at(13, 9), 0u);  // tile row 1 is zero
  // A long span: every column k gets tile column k AND 7.
  screen_surface().fill(0);
  paint_fill(nullptr, 3, 0, 0, 9, &pattern, 1, 0);
  for (int32_t x = 0; x < 40; ++x) EXPECT_EQ(s.at(x, 8), uint32_t(bytes[x & 7])) << x;
  EXPECT_EQ(s.at(39, 1), 0u);
}

TEST_F(PaintTest, FullViewOfALargeScreenAndSeedsOnItsEdges) {
  open_screen(1280, 1024, 32);
  paint_fill(nullptr, 1279, 1023, BLUE, WHITE, nullptr, 0, 0);
  Surface s = screen_surface();
  EXPECT_EQ(s.at(0, 0), BLUE);
  EXPECT_EQ(s.at(1279, 1023), BLUE);
  EXPECT_EQ(s.count(BLUE), 1280u * 1024u);
  paint_fill(nullptr, 0, 0, WHITE, 0xFF00FF00u, nullptr, 0, 0);
  EXPECT_EQ(s.count(WHITE), 1280u * 1024u);
}

// Counts live blocks so that a test can see everything come back, and fails on demand.
struct CountingAllocator {
  static inline int64_t live = 0;
  static inline size_t bytes_now = 0, bytes_peak = 0;
  static inline int64_t failures_after = -1;  // allocations still allowed; -1 = no limit
  static void* allocate(size_t bytes) {
    if (failures_after == 0) return nullptr;
    if (failures_after > 0) --failures_after;
    auto* block = static_cast<size_t*>(std::calloc(1, bytes + sizeof(size_t) * 2));
    if (!block) return nullptr;
    block[0] = bytes;
    ++live;
    bytes_now += bytes;
    bytes_peak = std::max(bytes_peak, bytes_now);
    return block + 2;
  }
  static void release(void* p) {
    auto* block = static_cast<size_t*>(p) - 2;
    --live;
    bytes_now -= block[0];
    std::free(block);
  }
};

class PaintMemoryTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    static const PaintAllocator counting{&CountingAllocator::allocate, &CountingAllocator::release};
    paint_set_allocator(&counting);
    CountingAllocator::live = 0;
    CountingAllocator::bytes_now = CountingAllocator::bytes_peak = 0;
    CountingAllocator::failures_after = -1;
  }
  void TearDown() override {
    paint_set_allocator(nullptr);
    PaintTest::TearDown();
  }
  // Columns of border with one open row at the top: every other column is its own run in every row.
  void draw_comb(int32_t width, int32_t height) {
    for (int32_t x = 1; x < width; x += 2)
      draw_line(nullptr, float(x), 1, float(x), float(height - 1), WHITE, 0, LINE_STYLE_SOLID, 0);
  }
};

TEST_F(PaintMemoryTest, WorstCaseRegionNeedsAFewTimesTheScreenAndGivesItAllBack) {
  open_screen(1280, 1024, 32);
  draw_comb(1280, 1024);
  paint_fill(nullptr, 0, 500, BLUE, WHITE, nullptr, 0, 0);
  const size_t screen_bytes = size_t{1280} * 1024 * 4;
  EXPECT_EQ(screen_surface().count(BLUE), 1280u + 640u * 1023u);
  EXPECT_LE(CountingAllocator::bytes_peak, 5 * screen_bytes);
  EXPECT_EQ(CountingAllocator::live, 0);
}

TEST_F(PaintMemoryTest, RunningOutOfMemoryDrawsNothingAndLeaksNothing) {
  open_screen(200, 100, 32);
  draw_comb(200, 100);
  for (int64_t allowed : {0, 1, 2, 3, 5}) {
    CountingAllocator::failures_after = allowed;
    paint_fill(nullptr, 0, 50, BLUE, WHITE, nullptr, 0, 0);
    EXPECT_TRUE(screen_surface().with_colour(BLUE).empty()) << allowed;
    EXPECT_EQ(CountingAllocator::live, 0) << allowed;
  }
  CountingAllocator::failures_after = -1;
  paint_fill(nullptr, 0, 50, BLUE, WHITE, nullptr, 0, 0);
  EXPECT_EQ(screen_surface().count(BLUE), 200u + 100u * 99u);
}

// A flood fill computed independently: 4-connected non-border pixels reachable from the seed.
PixelSet reference_fill(const Surface& s, int32_t sx, int32_t sy, uint32_t border) {
  PixelSet seen;
  if (s.at(sx, sy) == border) return seen;
  std::vector<Pixel> stack{{sx, sy}};
  seen.insert({sx, sy});
  while (!stack.empty()) {
    auto [x, y] = stack.back();
    stack.pop_back();
    const Pixel next[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (auto [nx, ny] : next) {
      if (nx < 0 || ny < 0 || nx >= s.width || ny >= s.height || s.at(nx, ny) == border) continue;
      if (seen.insert({nx, ny}).second) stack.push_back({nx, ny});
    }
  }
  return seen;
}

TEST_F(PaintTest, RandomMazesMatchAPlainFloodFill) {
  for (uint32_t seed = 1; seed <= 40; ++seed) {
    std::mt19937 rng(seed);
    Surface s = screen_surface();
    s.fill(BACKGROUND);
    for (int32_t i = 0; i < 1200; ++i) s.set(int32_t(rng() % 64), int32_t(rng() % 48), WHITE);
    const int32_t sx = int32_t(rng() % 64), sy = int32_t(rng() % 48);
    const PixelSet expected = reference_fill(s, sx, sy, WHITE);
    paint_fill(nullptr, float(sx), float(sy), BLUE, WHITE, nullptr, 0, 0);
    ASSERT_EQ(s.with_colour(BLUE), expected) << "seed " << seed;
  }
}

}  // namespace
}  // namespace zv::test
