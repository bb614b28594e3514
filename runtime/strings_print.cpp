// Printing a string on an output channel, with line ends and 14-column print zones.
#include <algorithm>

#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace zv {

namespace {

constexpr int32_t ZONE_WIDTH = 14;
constexpr uint8_t LINE_END[] = {13, 10};
constexpr uint8_t BLANKS[ZONE_WIDTH] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};

// Channel 0 is the console, -1 the first channel record, 1..254 the numbered ones.
OutputChannel* channel_for(int32_t number) {
  if (number == 0) return &runtime.console_channel;
  if (number == -1) return &runtime.channels[0];
  if (number >= 1 && number <= 254) return &runtime.channels[number];
  return nullptr;
}

// The column after a write: the bytes after the last line end, else the old column
// moved on by all of them; within the line width when one is set.
void advance_column(OutputChannel* channel, const uint8_t* bytes, int32_t length) {
  int64_t column = static_cast<int64_t>(channel->output_column) + length;
  for (int32_t i = length - 1; i >= 0; --i) {
    if (bytes[i] == 13 || bytes[i] == 10) {
      column = length - 1 - i;
      break;
    }
  }
  if (channel->line_width > 0) column %= channel->line_width;
  channel->output_column = static_cast<int32_t>(std::min<int64_t>(column, INT32_MAX));
}

void write(OutputChannel* channel, const uint8_t* bytes, int32_t length) {
  if (channel == &runtime.console_channel) {
    print_text(bytes, length, 0);
  } else {
    channel->write(channel, bytes, length);
  }
  advance_column(channel, bytes, length);
}

void next_zone(OutputChannel* channel) {
  const int32_t column = std::max(channel->output_column, 0);
  const int32_t width = channel->line_width;
  const int32_t zone = (column + ZONE_WIDTH) / ZONE_WIDTH * ZONE_WIDTH + 1;
  if (width >= ZONE_WIDTH && width - ZONE_WIDTH < zone) {
    write(channel, LINE_END, 2);
  } else {
    write(channel, BLANKS, zone - column - 1);
  }
}

}  // namespace

void print_string(int32_t channel_number, StringDescriptor* string, int32_t flags) {
  OutputChannel* channel = channel_for(channel_number);
  if (channel == &runtime.console_channel) console_ensure_init();
  if (!channel || (channel != &runtime.console_channel && !channel->write)) {
    str_release_temp(string);
    set_error(ERR_ILLEGAL_CALL);
    return;
  }
  if (string && string->data && str_length(string) > 0)
    write(channel, reinterpret_cast<const uint8_t*>(string->data), str_length(string));
  if (flags & 5) {
    write(channel, LINE_END, 2);
  } else if (flags & 2) {
    next_zone(channel);
  }
  str_release_temp(string);
}

}  // namespace zv
