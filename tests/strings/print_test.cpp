#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/runtime.h"
#include "runtime/strings.h"

using namespace zv;

namespace {

std::string console_output;
std::string channel_output;

void capture_print(const uint8_t* bytes, int32_t length, int32_t) {
  console_output.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
}

void capture_channel(OutputChannel*, const uint8_t* bytes, int32_t length) {
  channel_output.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
}

// The console channel writes into a string; the line width is set per test.
class PrintTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_hooks_ = runtime.hooks;
    saved_console_ = runtime.console_channel;
    runtime.hooks.print_text = capture_print;
    console_output.clear();
    channel_output.clear();
  }
  void TearDown() override {
    runtime.hooks = saved_hooks_;
    runtime.console_channel = saved_console_;
    runtime.channels[3] = OutputChannel{};
    EXPECT_EQ(temp_desc_in_use(), 0);
  }
  // Prints nothing but the zone advance from the given column.
  std::string zone_from(int32_t column, int32_t width) {
    runtime.console_channel.output_column = column;
    runtime.console_channel.line_width = width;
    console_output.clear();
    print_string(0, nullptr, 2);
    return console_output;
  }
  RuntimeHooks saved_hooks_{};
  OutputChannel saved_console_{};
};

}  // namespace

TEST_F(PrintTest, ZonesAreFourteenColumnsAndBreakNearTheWidth) {
  EXPECT_EQ(zone_from(0, 80), std::string(14, ' '));
  EXPECT_EQ(runtime.console_channel.output_column, 14);
  EXPECT_EQ(zone_from(13, 80), " ");
  EXPECT_EQ(zone_from(14, 80), std::string(14, ' '));
  EXPECT_EQ(zone_from(60, 80), "\r\n");
  EXPECT_EQ(runtime.console_channel.output_column, 0);
  EXPECT_EQ(zone_from(42, 80), std::string(14, ' '));  // the zone at 57 still begins by 80 - 14
  EXPECT_EQ(zone_from(60, 0), std::string(10, ' '));   // no width: never a line end
  EXPECT_EQ(zone_from(60, 13), std::string(10, ' '));  // widths under 14 do not break
  EXPECT_EQ(zone_from(-5, 80), std::string(14, ' '));
}

TEST_F(PrintTest, TextThenLineEndsAndTheColumnFollowsTheBytes) {
  runtime.console_channel.output_column = 0;
  runtime.console_channel.line_width = 80;
  print_string(0, str_temp_wrap_cstr("abc"), 0);
  EXPECT_EQ(console_output, "abc");
  EXPECT_EQ(runtime.console_channel.output_column, 3);
  print_string(0, str_temp_wrap_cstr("de"), 1);
  EXPECT_EQ(console_output, "abcde\r\n");
  EXPECT_EQ(runtime.console_channel.output_column, 0);
  print_string(0, str_temp_wrap_cstr("x\ny z"), 4);
  EXPECT_EQ(runtime.console_channel.output_column, 0);
  print_string(0, str_temp_wrap_cstr("x\ny z"), 0);
  EXPECT_EQ(runtime.console_channel.output_column, 3);
  print_string(0, str_temp_wrap_cstr("12345678"), 2);
  EXPECT_EQ(console_output.substr(console_output.size() - 11), "12345678   ");
  EXPECT_EQ(runtime.console_channel.output_column, 14);

  runtime.console_channel.line_width = 10;
  runtime.console_channel.output_column = 8;
  print_string(0, str_temp_wrap_cstr("abcd"), 0);
  EXPECT_EQ(runtime.console_channel.output_column, 2);  // within the width
}

TEST_F(PrintTest, ChannelsWithoutAWriteOperationFail) {
  set_error(0);
  print_string(3, str_temp_wrap_cstr("lost"), 1);
  EXPECT_EQ(get_error(), ERR_ILLEGAL_CALL);
  set_error(0);
  print_string(255, str_temp_wrap_cstr("lost"), 0);
  EXPECT_EQ(get_error(), ERR_ILLEGAL_CALL);
  set_error(0);
  print_string(-2, str_temp_wrap_cstr("lost"), 0);
  EXPECT_EQ(get_error(), ERR_ILLEGAL_CALL);
  EXPECT_EQ(console_output, "");

  runtime.channels[3].write = capture_channel;
  print_string(3, str_temp_wrap_cstr("kept"), 1);
  EXPECT_EQ(channel_output, "kept\r\n");
  EXPECT_EQ(console_output, "");
}
