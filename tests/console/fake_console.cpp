#include "console/fake_console.h"

#include "runtime/random_timer.h"

namespace fake {

Console console;

namespace {

zv::CellPage* page_of(int32_t page) {
  if (page < 0 || page >= zv::CONSOLE_PAGES || !console.pages[page].exists) return nullptr;
  return &console.pages[page];
}

bool start() { return true; }

bool buffer_info(int32_t page, zv::ConsoleBufferInfo* info) {
  const zv::CellPage* p = page_of(page);
  if (!console.is_console || !p) return false;
  *info = {p->size_x, p->size_y, p->cursor_x, p->cursor_y, p->attribute, p->window};
  return true;
}

bool write_cells(int32_t page, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint16_t attribute) {
  zv::CellPage* p = page_of(page);
  if (!p) return false;
  zv::cell_page_write(p, x, y, bytes, count, static_cast<uint8_t>(attribute));
  return true;
}

void fill(int32_t page, int32_t x, int32_t y, int32_t count, uint8_t byte, uint16_t attribute) {
  if (zv::CellPage* p = page_of(page)) zv::cell_page_fill(p, x, y, count, byte, static_cast<uint8_t>(attribute));
}

void scroll_up(int32_t page, zv::ConsoleRect rect, int32_t lines, uint16_t attribute) {
  if (zv::CellPage* p = page_of(page)) zv::cell_page_scroll_up(p, rect, lines, static_cast<uint8_t>(attribute));
}

void set_cursor(int32_t page, int32_t x, int32_t y) {
  zv::CellPage* p = page_of(page);
  if (!p || x < 0 || y < 0 || x >= p->size_x || y >= p->size_y) return;
  p->cursor_x = x;
  p->cursor_y = y;
  ++console.cursor_moves;
}

bool cursor_visible(int32_t page) { return page_of(page) && page_of(page)->cursor_visible; }

void show_cursor(int32_t page, bool visible) {
  if (zv::CellPage* p = page_of(page)) p->cursor_visible = visible;
}

void set_attribute(int32_t page, uint16_t attribute) {
  if (zv::CellPage* p = page_of(page)) p->attribute = static_cast<uint8_t>(attribute);
}

bool set_window(int32_t page, zv::ConsoleRect window) {
  zv::CellPage* p = page_of(page);
  return p && zv::cell_page_set_window(p, window, console.largest_x, console.largest_y);
}

// Like the Win32 call: a buffer smaller than its window is refused.
bool set_buffer_size(int32_t page, int32_t columns, int32_t rows) {
  zv::CellPage* p = page_of(page);
  if (!p || columns < p->window.right - p->window.left + 1 || rows < p->window.bottom - p->window.top + 1)
    return false;
  zv::cell_page_resize(p, columns, rows);
  return true;
}

void largest_window(int32_t, int32_t* columns, int32_t* rows) {
  *columns = console.largest_x;
  *rows = console.largest_y;
}

bool create_page(int32_t page) {
  if (console.page_creation_fails || page < 1 || page >= zv::CONSOLE_PAGES) return false;
  zv::CellPage& p = console.pages[page];
  p = zv::CellPage{};
  p.exists = true;
  p.cursor_visible = true;
  p.attribute = 7;
  p.window = {0, 0, 79, 24};
  zv::cell_page_resize(&p, 80, 25);
  return true;
}

void activate_page(int32_t page) {
  if (page_of(page)) console.active = page;
}

bool write_bytes(const uint8_t* bytes, int32_t length) {
  if (console.plain_write_fails) return false;
  console.plain.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  return true;
}

constexpr zv::ConsoleBinding fake_binding = {
    start,          buffer_info,   write_cells,   fill,       scroll_up,       set_cursor,
    cursor_visible, show_cursor,   set_attribute, set_window, set_buffer_size, largest_window,
    create_page,    activate_page, write_bytes,
};

bool input_start() { return console.input_is_console; }

int32_t read_events(zv::ConsoleInputRecord* records, int32_t capacity) {
  int32_t n = 0;
  while (n < capacity && !console.events.empty()) {
    records[n++] = console.events.front();
    console.events.erase(console.events.begin());
  }
  return n;
}

void install_control_handler() { ++console.handler_installs; }
bool window_is_foreground() { return console.foreground; }

bool virtual_key_down(uint32_t vk) {
  for (uint32_t held : console.held)
    if (held == vk) return true;
  return false;
}

void enable_mouse() { console.mouse_enabled = true; }

int32_t read_plain_line(char* buffer, int32_t capacity) {
  if (console.lines.empty()) return -1;
  const std::string line = console.lines.front();
  console.lines.erase(console.lines.begin());
  const int32_t n = std::min<int32_t>(static_cast<int32_t>(line.size()), capacity - 1);
  std::memcpy(buffer, line.data(), static_cast<size_t>(n));
  buffer[n] = 0;
  return n;
}

constexpr zv::ConsoleInputBinding fake_input_binding = {
    input_start, read_events, install_control_handler, window_is_foreground, virtual_key_down, enable_mouse,
    read_plain_line,
};

void no_sleep(int32_t) {}

}  // namespace

const zv::ConsoleBinding& binding() { return fake_binding; }
const zv::ConsoleInputBinding& input_binding() { return fake_input_binding; }

std::string row_text(int32_t page, int32_t y, int32_t from, int32_t to) {
  const zv::CellPage& p = console.pages[page];
  if (to < 0) to = p.size_x - 1;
  std::string text;
  for (int32_t x = from; x <= to; ++x) text += static_cast<char>(zv::cell_at(p, x, y).byte);
  return text;
}

uint8_t attribute_at(int32_t page, int32_t x, int32_t y) { return zv::cell_at(console.pages[page], x, y).attribute; }

zv::ConsoleInputRecord key_down(uint16_t vk, uint16_t scan, uint8_t character, uint32_t state) {
  zv::ConsoleInputRecord record{};
  record.event_type = zv::CONSOLE_KEY_EVENT;
  record.key = {1, 1, vk, scan, character, state};
  return record;
}

zv::ConsoleInputRecord key_up(uint16_t vk, uint16_t scan, uint32_t state) {
  zv::ConsoleInputRecord record = key_down(vk, scan, 0, state);
  record.key.key_down = 0;
  return record;
}

void ConsoleTest::make(int32_t size_x, int32_t size_y, int32_t window_w, int32_t window_h, int32_t window_top) {
  zv::CellPage& p = console.pages[0];
  p = zv::CellPage{};
  p.exists = true;
  p.cursor_visible = true;
  p.attribute = 7;
  p.window = {0, window_top, window_w - 1, window_top + window_h - 1};
  zv::cell_page_resize(&p, size_x, size_y);
  p.cursor_x = 0;
  p.cursor_y = window_top;
  zv::console_reset();
  zv::view_store(-1, -1);
}

void ConsoleTest::SetUp() {
  console = Console{};
  saved_hooks_ = zv::runtime.hooks;
  std::memset(&zv::runtime.hooks, 0, sizeof zv::runtime.hooks);
  zv::console_use_binding(&fake_binding);
  zv::console_use_input_binding(&fake_input_binding);
  zv::console_input_reset();
  zv::set_sleep_function(no_sleep);
  make(80, 25, 80, 25);
}

void ConsoleTest::TearDown() {
  zv::runtime.hooks = saved_hooks_;
  zv::console_use_binding(nullptr);
  zv::console_use_input_binding(nullptr);
  zv::console_input_reset();
  zv::set_sleep_function(nullptr);
  zv::console_reset();
  zv::view_store(-1, -1);
}

}  // namespace fake
