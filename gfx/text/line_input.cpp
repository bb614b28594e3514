// Line input on the graphics screen: prompt, the shared line editor, and the simple line
// reader with a block cursor.
#include "gfx/core/graphics_state.h"
#include "gfx/text/graphics_text.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

constexpr int32_t LINE_CAPACITY = 1024;  // the longest line is one byte shorter
constexpr uint8_t QUESTION[] = {'?', ' '};
constexpr uint16_t QUESTION_WIDE[] = {'?', ' '};
constexpr uint8_t LINE_END[] = {13, 10};
constexpr uint8_t BLOCK_CURSOR = 219;
constexpr uint8_t SPACE = ' ';
constexpr uint8_t CARRIAGE_RETURN = 13;
constexpr int32_t KEY_BELL = 7;
constexpr int32_t KEY_BACKSPACE = 8;

bool usable_destination(const void* destination, int32_t destination_size) {
  return destination && (destination_size == STR_DESCRIPTOR || destination_size >= 1);
}

int32_t edit_with_editor(char* line, int32_t capacity) { return edit_line(line, capacity); }

constexpr LineInputSide GRAPHICS_SIDE = {gfx_print_text, gfx_print_wide_text, edit_with_editor};

// Everything after the prompt: the line into the destination.
int32_t read_into(const LineInputSide& side, void* destination, int32_t destination_size, int32_t fill,
                  int32_t newline) {
  char line[LINE_CAPACITY] = {};
  const int32_t length = side.read(line, LINE_CAPACITY);
  if (newline) side.print(LINE_END, 2, 0);
  if (length < 0) return set_error(ERR_NO_INPUT_LINE);
  str_assign(destination, destination_size, line, 0, fill);
  return set_error(ERR_NONE);
}

void print_byte(uint8_t byte) { gfx_print_text(&byte, 1, 0); }

}  // namespace

int32_t line_input_on(const LineInputSide& side, StringDescriptor* prompt, void* destination,
                      int32_t destination_size, int32_t fill, int32_t question, int32_t newline) {
  if (!usable_destination(destination, destination_size)) {
    str_release_temp(prompt);
    return set_error(ERR_ILLEGAL_CALL);
  }
  side.print(nullptr, 0, PRINT_NEWLINE_ONLY);
  if (prompt) {
    if (prompt->data && str_length(prompt) > 0)
      side.print(reinterpret_cast<const uint8_t*>(prompt->data), str_length(prompt), 0);
    if (question) side.print(QUESTION, 2, 0);
    str_release_temp(prompt);
  }
  return read_into(side, destination, destination_size, fill, newline);
}

int32_t line_input_wide_on(const LineInputSide& side, const uint16_t* prompt, void* destination,
                           int32_t destination_size, int32_t fill, int32_t question, int32_t newline) {
  if (!usable_destination(destination, destination_size)) return set_error(ERR_ILLEGAL_CALL);
  side.print(nullptr, 0, PRINT_NEWLINE_ONLY);
  if (prompt) {
    int32_t length = 0;
    while (length < INT32_MAX && prompt[length]) ++length;
    if (length > 0) side.print_wide(prompt, length, 0);
    if (question) side.print_wide(QUESTION_WIDE, 2, 0);
  }
  return read_into(side, destination, destination_size, fill, newline);
}

int32_t gfx_line_input(StringDescriptor* prompt, void* destination, int32_t destination_size, int32_t fill,
                       int32_t question, int32_t newline) {
  return line_input_on(GRAPHICS_SIDE, prompt, destination, destination_size, fill, question, newline);
}

int32_t gfx_line_input_wide(const uint16_t* prompt, void* destination, int32_t destination_size, int32_t fill,
                            int32_t question, int32_t newline) {
  return line_input_wide_on(GRAPHICS_SIDE, prompt, destination, destination_size, fill, question, newline);
}

char* gfx_read_line(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return buffer;
  const auto show_block = [] {
    print_byte(BLOCK_CURSOR);
    cursor_back();
  };
  int32_t count = 0;
  show_block();
  for (;;) {
    const int32_t code = wait_key();
    if (code == 0) break;  // the screen is gone
    if (code >= 256 || code == KEY_BELL) continue;
    if (code == KEY_BACKSPACE) {
      if (count == 0) continue;
      --count;
      cursor_back();
      GraphicsState* gs = graphics_state();
      if (gs && gs->cursor_y < 0) {
        // Stepped off the top row: the block goes to the first cell, which it already holds.
        gs->cursor_x = gs->cursor_y = 0;
        show_block();
        continue;
      }
      print_byte(BLOCK_CURSOR);
      print_byte(SPACE);
      cursor_back();
      cursor_back();
      continue;
    }
    if (count < capacity - 1) {
      if (code == CARRIAGE_RETURN) {
        print_byte(SPACE);
        cursor_back();
      }
      buffer[count++] = static_cast<char>(code);
      print_byte(static_cast<uint8_t>(code));
      if (code != CARRIAGE_RETURN) show_block();
    }
    if (code == CARRIAGE_RETURN) break;
  }
  buffer[count] = 0;
  return buffer;
}

}  // namespace zv
