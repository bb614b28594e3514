#include <cmath>
#include <cstdio>
#include <random>

#include "draw_fixture.h"
#include "gfx/draw/line.h"
#include "runtime/runtime.h"

namespace zv::test {
namespace {

constexpr uint32_t PEN = 0xFFFFFFFFu;  // the default foreground of a 32-bit screen

class DrawMacroTest : public DrawTest {
 protected:
  PixelSet drawn() { return screen_surface().with_colour(PEN); }
  Pixel pen() { return {int32_t(context()->last_x), int32_t(context()->last_y)}; }
  void clear() { screen_surface().fill(BACKGROUND); }
};

// "X" and the number, without the string concatenation some compilers warn about.
std::string call_of(int32_t number) {
  char text[16];
  std::snprintf(text, sizeof text, " X%d ", number);
  return text;
}

PixelSet diagonal(int32_t x, int32_t y, int32_t dx, int32_t dy, std::initializer_list<int32_t> steps) {
  PixelSet p;
  for (int32_t d : steps) p.insert({x + dx * d, y + dy * d});
  return p;
}

TEST_F(DrawMacroTest, TheTowerPicture) {
  ImageBuffer* image = image_create(53, 66, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  run_draw(image,
           "BD65 BR1 R51 U8 L6 NL39 U7 NL39 H6 NL28 U24 NL28 E6 NL39 U14 L8 D8 L8 U8 L8 D8 L8 U8 L8 D14 F6 D24 G6 "
           "D7 L6 D8");
  const Surface s = image_surface(image);
  EXPECT_EQ(s.differing_from(0).size(), 437u);
  EXPECT_EQ(s.with_colour(PEN).size(), 437u);
  EXPECT_EQ(pen(), Pixel(0, 65));
  // The bottom line is drawn from x = 1 to 52 on row 65.
  for (int32_t x = 1; x <= 52; ++x) EXPECT_EQ(s.at(x, 65), PEN) << x;
  EXPECT_TRUE(drawn().empty());
  image_destroy(image);
}

TEST_F(DrawMacroTest, StraightMovesAndTheirPrefixes) {
  run_draw(nullptr, "R5");
  EXPECT_EQ(drawn(), diagonal(0, 0, 1, 0, {0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(pen(), Pixel(5, 0));
  clear();
  set_pen(0, 0);
  run_draw(nullptr, "NR5");
  EXPECT_EQ(drawn().size(), 6u);
  EXPECT_EQ(pen(), Pixel(0, 0));
  clear();
  run_draw(nullptr, "BR5");
  EXPECT_TRUE(drawn().empty());
  EXPECT_EQ(pen(), Pixel(5, 0));
  // Prefixes wait for the next move, whatever comes between.
  clear();
  set_pen(10, 10);
  run_draw(nullptr, "B C-1 S4 D3");
  EXPECT_TRUE(drawn().empty());
  EXPECT_EQ(pen(), Pixel(10, 13));
}

TEST_F(DrawMacroTest, DiagonalsStepThroughTheSamePixelsAsEver) {
  set_pen(20, 20);
  run_draw(nullptr, "H6");
  EXPECT_EQ(drawn(), diagonal(20, 20, -1, -1, {0, 1, 1, 2, 3, 4, 4, 5, 6}));
  EXPECT_EQ(pen(), Pixel(14, 14));
  clear();
  set_pen(20, 20);
  run_draw(nullptr, "F3 G3 E3");
  EXPECT_EQ(pen(), Pixel(23, 23));
}

TEST_F(DrawMacroTest, DefaultAndZeroCounts) {
  set_pen(10, 10);
  run_draw(nullptr, "U");
  EXPECT_EQ(pen(), Pixel(10, 9));
  clear();
  run_draw(nullptr, "U0");
  EXPECT_EQ(drawn(), (PixelSet{{10, 9}}));
  EXPECT_EQ(pen(), Pixel(10, 9));
  // A count that wraps around to 1, and the wrapped minimum, which reads as no number (1).
  run_draw(nullptr, "BR4294967297 BR2147483648");
  EXPECT_EQ(pen(), Pixel(12, 9));
}

TEST_F(DrawMacroTest, ScaleStretchesAndZeroOrNegativeScaleBehave) {
  set_pen(0, 5);
  run_draw(nullptr, "S8 BR5");
  EXPECT_EQ(pen(), Pixel(10, 5));
  run_draw(nullptr, "S2 BR5");
  EXPECT_EQ(pen(), Pixel(13, 5));
  run_draw(nullptr, "S0 R5");
  EXPECT_EQ(drawn(), (PixelSet{{13, 5}}));
  EXPECT_EQ(pen(), Pixel(13, 5));
  run_draw(nullptr, "S-4 BR5 S4");
  EXPECT_EQ(pen(), Pixel(8, 5));
  run_draw(nullptr, "BR-5");
  EXPECT_EQ(pen(), Pixel(3, 5));
}

TEST_F(DrawMacroTest, RotationTurnsEveryMove) {
  set_pen(20, 20);
  run_draw(nullptr, "A1 BR5");
  EXPECT_EQ(pen(), Pixel(20, 15));
  run_draw(nullptr, "TA90 BR5");
  EXPECT_EQ(pen(), Pixel(20, 10));
  run_draw(nullptr, "A-1 BR5");  // 270 degrees
  EXPECT_EQ(pen(), Pixel(20, 15));
  run_draw(nullptr, "A2 BR5 TA0");
  EXPECT_EQ(pen(), Pixel(15, 15));
  // Any angle TA can express; the pen moves five units whatever it is.
  for (const char* angle : {"TA2147483647", "TA-2147483647", "TA45", "TA-7777777", "TA360000000"}) {
    set_pen(30, 30);
    run_draw(nullptr, std::string(angle) + " BR5");
    const double dx = context()->last_x - 30, dy = context()->last_y - 30;
    EXPECT_NEAR(std::hypot(dx, dy), 5.0, 1.5) << angle;
  }
}

// A reference walk of one straight move, step by step as the rule reads: the direction
// built one eighth of a turn at a time in single precision, the rotation added, then
// k + 1 positions, each step added in double precision and stored as a float.
constexpr double kPi = 3.14159265358979323846;

PixelSet reference_move(float pen_x, float pen_y, int32_t eighths, float rotation, int32_t n, int32_t width,
                        int32_t height) {
  float direction = 0.0f;
  for (int32_t i = 0; i < eighths; ++i) direction = static_cast<float>(direction + 0.7853981633974483);
  const double factor = (eighths & 1) ? 1.4142135f : 1.0f;
  const int64_t k = static_cast<int64_t>(std::fabs(factor * n) + 0.5);
  const float phi = static_cast<float>(static_cast<double>(direction) + rotation);
  float fx = pen_x, fy = pen_y;
  PixelSet pixels;
  for (int64_t i = k; i >= 0; --i) {
    const int32_t px = static_cast<int32_t>(fx), py = static_cast<int32_t>(fy);
    if (px >= 0 && py >= 0 && px < width && py < height) pixels.insert({px, py});  // -0.5 is column 0
    if (i != 0) {
      fx = static_cast<float>(fx + std::cos(static_cast<double>(phi)));
      fy = static_cast<float>(fy - std::sin(static_cast<double>(phi)));
    }
  }
  return pixels;
}

TEST_F(DrawMacroTest, RotatedMovesFollowTheReferenceWalkPixelForPixel) {
  open_screen(640, 400, 32);
  run_draw(nullptr, "S4 TA0");
  const char letters[] = "REUHLGDF";
  struct Case {
    const char* rotation;
    double radians;
    int32_t first_letter, last_letter;
    float pen_y;  // the pen's centre row; a quarter pixel off makes rounding visible
  };
  // TA106 and TA176 with G140 from a pen a quarter pixel down are where G's direction
  // built in one step instead of five eighths lands on other pixels.
  const Case cases[] = {
      {"TA0", 0, 0, 7, 200.0f},           {"TA7", 7 * kPi / 180, 0, 7, 200.0f},
      {"TA106", 106 * kPi / 180, 0, 7, 200.25f}, {"TA176", 176 * kPi / 180, 5, 5, 200.25f},
      {"TA333", 333 * kPi / 180, 0, 7, 200.0f},  {"TA-20", -20 * kPi / 180, 0, 7, 200.0f},
      {"A1", 1 * (kPi / 2), 0, 7, 200.0f},      {"A3", 3 * (kPi / 2), 0, 7, 200.25f},
  };
  for (const Case& c : cases) {
    for (int32_t eighths = c.first_letter; eighths <= c.last_letter; ++eighths) {
      screen_surface().fill(BACKGROUND);
      set_pen(319.5f, c.pen_y - 0.5f);
      const std::string move = std::string(1, letters[eighths]) + "140";
      run_draw(nullptr, std::string(c.rotation) + " " + move);
      EXPECT_EQ(drawn(), reference_move(320.0f, c.pen_y, eighths, static_cast<float>(c.radians), 140, 640, 400))
          << c.rotation << " " << move;
    }
  }
  run_draw(nullptr, "TA0");
}

TEST_F(DrawMacroTest, MoveToAbsoluteAndRelative) {
  set_pen(2, 3);
  run_draw(nullptr, "M10,20");
  EXPECT_EQ(pen(), Pixel(10, 20));
  EXPECT_TRUE(drawn().count({2, 3}) && drawn().count({10, 20}));
  clear();
  run_draw(nullptr, "M+3,0");
  EXPECT_EQ(drawn(), (PixelSet{{10, 20}, {11, 20}, {12, 20}, {13, 20}}));
  EXPECT_EQ(pen(), Pixel(13, 20));
  run_draw(nullptr, "BM-3,0");
  EXPECT_EQ(pen(), Pixel(10, 20));
  run_draw(nullptr, "A1 BM+3,0 A0");
  EXPECT_EQ(pen(), Pixel(10, 17));
  run_draw(nullptr, "S8 BM+1,-1 S4");
  EXPECT_EQ(pen(), Pixel(12, 15));
  // Absolute moves ignore scale and rotation.
  run_draw(nullptr, "S8 A1 BM5,6 A0 S4");
  EXPECT_EQ(pen(), Pixel(5, 6));
}

TEST_F(DrawMacroTest, AMissingNumberEndsTheCallAndLeavesThePen) {
  for (const char* broken : {"R5 M10", "R5 M10,", "R5 M,5", "R5 C", "R5 S", "R5 A", "R5 TB5", "R5 TA", "R5 P",
                             "R5 P1,", "R5 X", "R5 X31"}) {
    set_pen(7, 9);
    const uint32_t flags = context()->flags;
    run_draw(nullptr, broken);
    EXPECT_EQ(pen(), Pixel(7, 9)) << broken;
    EXPECT_EQ(context()->flags, flags) << broken;
    EXPECT_TRUE(drawn().count({12, 9})) << broken;  // what came before the fault is drawn
    clear();
  }
}

TEST_F(DrawMacroTest, ColourCommandChangesTheForegroundForGood) {
  run_draw(nullptr, "C4 R5");
  EXPECT_EQ(screen_surface().with_colour(4).size(), 6u);
  EXPECT_EQ(context()->fg_colour, 4u);
}

TEST_F(DrawMacroTest, PaintFromThePen) {
  draw_line(nullptr, 5, 5, 25, 15, 0x00FFFFFF, LINE_BOX_OUTLINE, LINE_STYLE_SOLID, 0);
  run_draw(nullptr, "BM10,10 P16711680,16777215");
  EXPECT_EQ(screen_surface().with_colour(0x00FF0000).size(), 19u * 9u);
  EXPECT_EQ(pen(), Pixel(10, 10));
}

TEST_F(DrawMacroTest, NumbersParseWithSignsBlanksAndWrapAround) {
  struct Case {
    const char* text;
    int32_t value;
    size_t consumed;
  };
  for (const Case c : {Case{"12x", 12, 2}, Case{" \t-+  7", -7, 7}, Case{"- +7", MACRO_NO_NUMBER, 2}, Case{"+5", 5, 2}, Case{"-", MACRO_NO_NUMBER, 1},
                       Case{"", MACRO_NO_NUMBER, 0}, Case{"4294967295", -1, 10}, Case{"2147483648", INT32_MIN, 10},
                       Case{"99999999999999999999", int32_t(1661992959u), 20}, Case{"x", MACRO_NO_NUMBER, 0}}) {
    std::string text = c.text;
    MacroCursor cursor{text.data(), text.data() + text.size()};
    EXPECT_EQ(parse_macro_number(&cursor), c.value) << c.text;
    EXPECT_EQ(size_t(cursor.at - text.data()), c.consumed) << c.text;
  }
}

TEST_F(DrawMacroTest, HugeMovesEndWithThePenWhereSingleStepsWouldLeaveIt) {
  set_pen(40, 10);
  run_draw(nullptr, "R2147483647");
  // Single-precision steps of one pixel stop changing the pen at 2^24.
  EXPECT_EQ(context()->last_x, 16777216.0f);
  PixelSet row;
  for (int32_t x = 40; x < 64; ++x) row.insert({x, 10});
  EXPECT_EQ(drawn(), row);
  clear();
  set_pen(1, 1);
  run_draw(nullptr, "S2147483647 F2147483647 S4 L2147483647 TA1 D2147483647 TA0");
  EXPECT_TRUE(std::isfinite(context()->last_x) && std::isfinite(context()->last_y));
  EXPECT_TRUE(drawn().count({1, 1}));
  // Back from far away: the pen crosses the screen again and draws on the way.
  clear();
  set_pen(-1000, 20);
  run_draw(nullptr, "R2000");
  EXPECT_EQ(pen(), Pixel(1000, 20));
  EXPECT_EQ(drawn().size(), 64u);
}

TEST_F(DrawMacroTest, RegisteredStringsRunByNumber) {
  std::string inner = "R3 C255";
  StringDescriptor d{inner.data(), int32_t(inner.size()), int32_t(inner.size())};
  int32_t number = 0;
  ASSERT_EQ(draw_macro_register(&d, &number), 0);
  int32_t again = 0;
  EXPECT_EQ(draw_macro_register(&d, &again), 0);
  EXPECT_EQ(again, number);
  set_pen(4, 4);
  run_draw(nullptr, call_of(number).append("D2"));
  EXPECT_EQ(drawn(), (PixelSet{{4, 4}, {5, 4}, {6, 4}}));
  EXPECT_EQ(screen_surface().with_colour(255), (PixelSet{{7, 4}, {7, 5}, {7, 6}}));  // D2 after the nested C255
  EXPECT_EQ(pen(), Pixel(7, 6));
  EXPECT_EQ(draw_macro_unregister(number), 0);
  EXPECT_EQ(draw_macro_unregister(number), 1);
  set_pen(4, 4);
  run_draw(nullptr, std::string("BR1").append(call_of(number)));
  EXPECT_EQ(pen(), Pixel(4, 4));  // unknown number: the call ends
  // Temporaries and null are refused.
  StringDescriptor temp{inner.data(), int32_t(inner.size()) | STR_TEMP, 0};
  EXPECT_EQ(draw_macro_register(&temp, &number), 1);
  EXPECT_EQ(draw_macro_register(nullptr, &number), 1);
}

TEST_F(DrawMacroTest, StringsThatCallThemselvesEnd) {
  std::string self = "BR1 X1 X1 X1 X1";
  StringDescriptor d{self.data(), int32_t(self.size()), int32_t(self.size())};
  int32_t number = 0;
  ASSERT_EQ(draw_macro_register(&d, &number), 0);
  self = std::string("BR1").append(call_of(number)).append(call_of(number)).append(call_of(number));
  d = StringDescriptor{self.data(), int32_t(self.size()), int32_t(self.size())};
  set_pen(0, 0);
  run_draw(nullptr, self);
  // Each call moves the pen by one; a call refused for depth or budget ends its caller.
  EXPECT_GE(pen().first, 0);
  EXPECT_LE(pen().first, 1 + MACRO_NESTED_CALL_BUDGET);
  EXPECT_EQ(pen().second, 0);
  draw_macro_unregister(number);
}

TEST_F(DrawMacroTest, TemporaryCommandStringsAreReleased) {
  const int32_t in_use = temp_desc_in_use();
  StringDescriptor* t = str_alloc_temp(nullptr, 3);
  ASSERT_NE(t, nullptr);
  std::memcpy(t->data, "R2", 3);
  t->length = 2 | STR_TEMP;
  draw_macro(nullptr, t);
  EXPECT_EQ(temp_desc_in_use(), in_use);
  EXPECT_EQ(drawn().size(), 3u);
  draw_macro(nullptr, nullptr);
}

TEST_F(DrawMacroTest, ArbitraryBytesNeitherCrashNorHang) {
  const char alphabet[] = "UDLRHEFGMBNATCSPXudlrhefgm0123456789,+- \t;Q\x80\xff";
  std::string inner = "R1 U2 P5";
  StringDescriptor d{inner.data(), int32_t(inner.size()), int32_t(inner.size())};
  int32_t number = 0;
  ASSERT_EQ(draw_macro_register(&d, &number), 0);
  ImageBuffer* image = image_create(9, 7, 0, 0, 0);
  ASSERT_NE(image, nullptr);
  for (uint32_t seed = 1; seed <= 400; ++seed) {
    std::mt19937 rng(seed);
    std::string text(rng() % 64, ' ');
    for (char& c : text) c = (rng() % 4 == 0) ? char(rng()) : alphabet[rng() % (sizeof(alphabet) - 1)];
    run_draw(seed % 2 ? nullptr : image, text);
    ASSERT_FALSE(context()->flags & DC_ABSOLUTE) << "seed " << seed;
  }
  image_destroy(image);
  draw_macro_unregister(number);
}

}  // namespace
}  // namespace zv::test
