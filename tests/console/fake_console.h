// A console that exists only in memory: cell pages behind the console binding, with
// switches for the failures a real console can report, and a fake console input.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "input/console/console_input.h"
#include "runtime/console/cell_pages.h"
#include "runtime/console/console_driver.h"
#include "runtime/runtime.h"

namespace fake {

struct Console {
  bool is_console = true;  // false: output is a file
  zv::CellPage pages[zv::CONSOLE_PAGES];
  int32_t active = 0;
  int32_t largest_x = 200, largest_y = 100;
  bool page_creation_fails = false;
  std::string plain;  // bytes written as a file would get them
  bool plain_write_fails = false;
  int32_t cursor_moves = 0;
  // Input
  bool input_is_console = true;
  std::vector<zv::ConsoleInputRecord> events;
  bool foreground = true;
  std::vector<uint32_t> held;  // virtual keys down
  int32_t handler_installs = 0;
  bool mouse_enabled = false;
  std::vector<std::string> lines;  // standard input lines
};

extern Console console;

const zv::ConsoleBinding& binding();
const zv::ConsoleInputBinding& input_binding();

// Text of a buffer row, cells from..to (inclusive).
std::string row_text(int32_t page, int32_t y, int32_t from = 0, int32_t to = -1);
uint8_t attribute_at(int32_t page, int32_t x, int32_t y);

zv::ConsoleInputRecord key_down(uint16_t vk, uint16_t scan, uint8_t character, uint32_t state);
zv::ConsoleInputRecord key_up(uint16_t vk, uint16_t scan, uint32_t state);

// A fresh fake console of the given buffer and window size, used by the console driver.
class ConsoleTest : public testing::Test {
 protected:
  void make(int32_t size_x, int32_t size_y, int32_t window_w, int32_t window_h, int32_t window_top = 0);
  void SetUp() override;
  void TearDown() override;
  void print(const char* text, int32_t flags = 0) {
    zv::print_text(reinterpret_cast<const uint8_t*>(text), static_cast<int32_t>(std::strlen(text)), flags);
  }
  zv::RuntimeHooks saved_hooks_{};
};

}  // namespace fake
