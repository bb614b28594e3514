// The shared text engine against a recording sink: no screen involved.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/text/text_engine.h"

namespace {

struct Recorder {
  struct Run {
    int32_t x, y;
    std::string bytes;
  };
  std::vector<Run> runs;
  std::vector<int32_t> scrolls;  // lines of each scroll
  int32_t fail_after = -1;       // put_chars fails from this call on
};

int32_t record_chars(zv::TextSink* sink, const uint8_t* bytes, int32_t count) {
  auto* r = static_cast<Recorder*>(sink->owner);
  if (r->fail_after >= 0 && static_cast<int32_t>(r->runs.size()) >= r->fail_after) return 0;
  r->runs.push_back({sink->x, sink->y, std::string(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count))});
  return 1;
}

void record_scroll(zv::TextSink* sink, int32_t, int32_t, int32_t, int32_t bottom, int32_t lines) {
  static_cast<Recorder*>(sink->owner)->scrolls.push_back(lines);
  sink->y = bottom;
}

// An 80 x 25 window at the cursor (x, y).
zv::TextSink make_sink(Recorder* r, int32_t x, int32_t y) {
  return zv::TextSink{r, record_scroll, record_chars, 0, 0, 79, 24, x, y};
}

void write(zv::TextSink* sink, const std::string& s) {
  zv::text_engine_write(sink, reinterpret_cast<const uint8_t*>(s.data()), static_cast<int32_t>(s.size()),
                        zv::TEXT_LINE_FEED_RETURNS);
}

TEST(TextEngine, TabAdvancesToTheNextMultipleOfEightFromTheWindowsLeftEdge) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 8, 3);
  write(&sink, "\t");
  EXPECT_EQ(sink.x, 16);
  sink.x = 5;
  write(&sink, "\t");
  EXPECT_EQ(sink.x, 8);
  // The spaces are ordinary output, drawn over what was there.
  ASSERT_EQ(r.runs.size(), 2u);
  EXPECT_EQ(r.runs[1].bytes, "   ");

  sink.left = 2;
  sink.x = 3;
  write(&sink, "\t");
  EXPECT_EQ(sink.x, 10);
}

TEST(TextEngine, BackspaceStopsAtTheLeftEdgeAndNeverClimbsARow) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 0, 5);
  write(&sink, "\b");
  EXPECT_EQ(sink.x, 0);
  EXPECT_EQ(sink.y, 5);
  write(&sink, "ab\b\bc");
  EXPECT_EQ(sink.x, 1);
  ASSERT_EQ(r.runs.size(), 2u);
  EXPECT_EQ(r.runs[1].x, 0);
  EXPECT_EQ(r.runs[1].bytes, "c");
}

TEST(TextEngine, ControlBytesMoveAndEveryOtherBytePrints) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 0, 0);
  sink.right = 1000;  // one long row, so every byte lands in order
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  zv::text_engine_write(&sink, reinterpret_cast<const uint8_t*>(all.data()), 256, 0);
  auto bytes = [](int first, int last) {
    std::string s;
    for (int b = first; b <= last; ++b) s += static_cast<char>(b);
    return s;
  };
  // 0-6 print; the bell moves nothing; the backspace steps back to column 6, the tab
  // fills two spaces to column 8; the line feed (no return here) goes down a row, where
  // 11 and 12 print as glyphs; the carriage return starts the rest at column 0.
  ASSERT_EQ(r.runs.size(), 4u);
  EXPECT_EQ(r.runs[0].bytes, bytes(0, 6));
  EXPECT_EQ(r.runs[1].x, 6);
  EXPECT_EQ(r.runs[1].bytes, "  ");
  EXPECT_EQ(r.runs[2].x, 8);
  EXPECT_EQ(r.runs[2].y, 1);
  EXPECT_EQ(r.runs[2].bytes, bytes(11, 12));
  EXPECT_EQ(r.runs[3].x, 0);
  EXPECT_EQ(r.runs[3].bytes, bytes(14, 255));
  EXPECT_EQ(sink.x, 242);
}

TEST(TextEngine, RunsLongerThanTheLimitArriveInPieces) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 0, 0);
  sink.right = 100000;
  const std::string text(3000, 'x');
  write(&sink, text);
  ASSERT_EQ(r.runs.size(), 3u);
  EXPECT_EQ(r.runs[0].bytes.size(), 1024u);
  EXPECT_EQ(r.runs[1].x, 1024);
  EXPECT_EQ(sink.x, 3000);
}

TEST(TextEngine, WrapsAtTheRightEdgeAndScrollsOnlyWhenWritingBelowTheWindow) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 70, 24);
  write(&sink, std::string(10, 'a'));
  EXPECT_TRUE(r.scrolls.empty()) << "text ending at the bottom row's end waits";
  EXPECT_EQ(sink.x, 0);
  EXPECT_EQ(sink.y, 25);
  write(&sink, "b");
  ASSERT_EQ(r.scrolls.size(), 1u);
  EXPECT_EQ(r.runs.back().y, 24);
  EXPECT_EQ(sink.x, 1);

  r = Recorder{};
  sink = make_sink(&r, 75, 24);
  write(&sink, std::string(90, 'c'));  // 5 on the bottom row, 80 on the next, 5 more
  EXPECT_EQ(r.scrolls, (std::vector<int32_t>{1, 1}));
  EXPECT_EQ(sink.y, 24);
  EXPECT_EQ(sink.x, 5);
}

// Where a run ends against the right edge (column 79): one short stays on its row, and the
// next byte then takes the last column; a full row moves to the next row's start.
TEST(TextEngine, RunsEndingAtOrJustShortOfTheRightEdge) {
  struct Case {
    int32_t start, length;
    int32_t end_x, end_y;          // the cursor after the run
    int32_t next_x, next_y;        // where one more byte is drawn
  };
  const Case cases[] = {
      {0, 79, 79, 3, 79, 3},  {0, 80, 0, 4, 0, 4},    {70, 9, 79, 3, 79, 3},  {70, 10, 0, 4, 0, 4},
      {78, 1, 79, 3, 79, 3},  {79, 1, 0, 4, 0, 4},    {0, 159, 79, 4, 79, 4}, {5, 154, 79, 4, 79, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "from column " << c.start << ", " << c.length << " bytes");
    Recorder r;
    zv::TextSink sink = make_sink(&r, c.start, 3);
    write(&sink, std::string(static_cast<size_t>(c.length), 'x'));
    EXPECT_EQ(sink.x, c.end_x);
    EXPECT_EQ(sink.y, c.end_y);
    write(&sink, "y");
    ASSERT_FALSE(r.runs.empty());
    EXPECT_EQ(r.runs.back().bytes, "y");
    EXPECT_EQ(r.runs.back().x, c.next_x);
    EXPECT_EQ(r.runs.back().y, c.next_y);
    EXPECT_TRUE(r.scrolls.empty());
  }
}

TEST(TextEngine, LineFeedOnTheBottomRowScrollsAtOnce) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 3, 24);
  write(&sink, "\n\n");
  EXPECT_EQ(r.scrolls, std::vector<int32_t>{2});
  EXPECT_EQ(sink.y, 24);
  EXPECT_EQ(sink.x, 0);

  // Without scrolling (bottom -1) the cursor just goes on down.
  r = Recorder{};
  sink = make_sink(&r, 0, 24);
  sink.bottom = -1;
  write(&sink, "\n\n");
  EXPECT_TRUE(r.scrolls.empty());
  EXPECT_EQ(sink.y, 26);
}

TEST(TextEngine, LineFeedWithoutReturnKeepsTheColumn) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 7, 2);
  zv::text_engine_write(&sink, reinterpret_cast<const uint8_t*>("\n"), 1, 0);
  EXPECT_EQ(sink.x, 7);
  EXPECT_EQ(sink.y, 3);
}

TEST(TextEngine, AFailingSinkEndsTheWrite) {
  Recorder r;
  r.fail_after = 1;
  zv::TextSink sink = make_sink(&r, 0, 0);
  write(&sink, std::string(200, 'z'));  // three pieces: 80, 80, 40
  EXPECT_EQ(r.runs.size(), 1u);
  EXPECT_EQ(sink.y, 1);
  EXPECT_EQ(sink.x, 0);
}

TEST(TextEngine, DegenerateInputsDoNothing) {
  Recorder r;
  zv::TextSink sink = make_sink(&r, 0, 0);
  zv::text_engine_write(&sink, nullptr, 5, 0);
  zv::text_engine_write(&sink, reinterpret_cast<const uint8_t*>("a"), -1, 0);
  sink.right = -1;  // a window without columns
  write(&sink, "abc");
  EXPECT_TRUE(r.runs.empty());
}

}  // namespace
