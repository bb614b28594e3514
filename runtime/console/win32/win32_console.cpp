// The console on Windows: the process's console screen buffers through the Win32
// console functions. Page 0 is the standard output handle.
#include <cstring>

#include "runtime/console/console_binding.h"

// After our headers: windows.h defines macros that collide with some of our names.
#include <windows.h>

namespace zv {

namespace {

HANDLE pages[CONSOLE_PAGES] = {};

HANDLE handle_of(int32_t page) {
  if (page < 0 || page >= CONSOLE_PAGES) return nullptr;
  return pages[page];
}

SHORT to_short(int32_t value) {
  if (value < -32768) return -32768;
  if (value > 32767) return 32767;
  return static_cast<SHORT>(value);
}

SMALL_RECT to_small_rect(const ConsoleRect& r) {
  return {to_short(r.left), to_short(r.top), to_short(r.right), to_short(r.bottom)};
}

bool start() {
  pages[0] = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (input && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode))
    SetConsoleMode(input, mode | ENABLE_PROCESSED_INPUT);
  return pages[0] && pages[0] != INVALID_HANDLE_VALUE;
}

bool buffer_info(int32_t page, ConsoleBufferInfo* info) {
  CONSOLE_SCREEN_BUFFER_INFO csbi;
  HANDLE h = handle_of(page);
  if (!h || !GetConsoleScreenBufferInfo(h, &csbi)) return false;
  *info = {csbi.dwSize.X,
           csbi.dwSize.Y,
           csbi.dwCursorPosition.X,
           csbi.dwCursorPosition.Y,
           csbi.wAttributes,
           {csbi.srWindow.Left, csbi.srWindow.Top, csbi.srWindow.Right, csbi.srWindow.Bottom}};
  return true;
}

// One call per run: the engine hands at most 1024 cells of one row.
bool write_cells(int32_t page, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint16_t attribute) {
  HANDLE h = handle_of(page);
  if (!h || !bytes || count <= 0) return false;
  constexpr int32_t MAX_RUN = 1024;
  CHAR_INFO cells[MAX_RUN];
  while (count > 0) {
    const int32_t n = count < MAX_RUN ? count : MAX_RUN;
    for (int32_t i = 0; i < n; ++i) {
      cells[i].Char.AsciiChar = static_cast<CHAR>(bytes[i]);
      cells[i].Attributes = attribute;
    }
    SMALL_RECT target = {to_short(x), to_short(y), to_short(x + n - 1), to_short(y)};
    if (!WriteConsoleOutputA(h, cells, COORD{to_short(n), 1}, COORD{0, 0}, &target)) return false;
    bytes += n;
    x += n;
    count -= n;
  }
  return true;
}

void fill(int32_t page, int32_t x, int32_t y, int32_t count, uint8_t byte, uint16_t attribute) {
  HANDLE h = handle_of(page);
  if (!h || count <= 0) return;
  DWORD written = 0;
  const COORD at = {to_short(x), to_short(y)};
  FillConsoleOutputCharacterA(h, static_cast<CHAR>(byte), static_cast<DWORD>(count), at, &written);
  FillConsoleOutputAttribute(h, attribute, static_cast<DWORD>(count), at, &written);
}

void scroll_up(int32_t page, ConsoleRect rect, int32_t lines, uint16_t attribute) {
  HANDLE h = handle_of(page);
  if (!h || lines <= 0) return;
  CHAR_INFO blank;
  blank.Char.AsciiChar = ' ';
  blank.Attributes = attribute;
  if (lines > rect.bottom - rect.top) {
    for (int32_t y = rect.top; y <= rect.bottom; ++y) fill(page, rect.left, y, rect.right - rect.left + 1, ' ', attribute);
    return;
  }
  // The rows below the first lines move to the top; the rows they leave, within the
  // rectangle, get the blank. (The source is kept inside the buffer: a destination above
  // row 0 is refused by some consoles.)
  const SMALL_RECT source = to_small_rect({rect.left, rect.top + lines, rect.right, rect.bottom});
  const SMALL_RECT clip = to_small_rect(rect);
  ScrollConsoleScreenBufferA(h, &source, &clip, COORD{to_short(rect.left), to_short(rect.top)}, &blank);
}

void set_cursor(int32_t page, int32_t x, int32_t y) {
  if (HANDLE h = handle_of(page)) SetConsoleCursorPosition(h, COORD{to_short(x), to_short(y)});
}

bool cursor_visible(int32_t page) {
  CONSOLE_CURSOR_INFO info;
  HANDLE h = handle_of(page);
  return h && GetConsoleCursorInfo(h, &info) && info.bVisible;
}

void show_cursor(int32_t page, bool visible) {
  CONSOLE_CURSOR_INFO info;
  HANDLE h = handle_of(page);
  if (!h || !GetConsoleCursorInfo(h, &info)) return;
  info.bVisible = visible ? TRUE : FALSE;
  SetConsoleCursorInfo(h, &info);
}

void set_attribute(int32_t page, uint16_t attribute) {
  if (HANDLE h = handle_of(page)) SetConsoleTextAttribute(h, attribute);
}

bool set_window(int32_t page, ConsoleRect window) {
  HANDLE h = handle_of(page);
  const SMALL_RECT r = to_small_rect(window);
  return h && SetConsoleWindowInfo(h, TRUE, &r);
}

bool set_buffer_size(int32_t page, int32_t columns, int32_t rows) {
  HANDLE h = handle_of(page);
  return h && SetConsoleScreenBufferSize(h, COORD{to_short(columns), to_short(rows)});
}

void largest_window(int32_t page, int32_t* columns, int32_t* rows) {
  HANDLE h = handle_of(page);
  const COORD largest = h ? GetLargestConsoleWindowSize(h) : COORD{0, 0};
  *columns = largest.X;
  *rows = largest.Y;
}

bool create_page(int32_t page) {
  if (page < 1 || page >= CONSOLE_PAGES) return false;
  HANDLE h = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, 0, nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (h == INVALID_HANDLE_VALUE || !h) return false;
  pages[page] = h;
  return true;
}

void activate_page(int32_t page) {
  if (HANDLE h = handle_of(page)) SetConsoleActiveScreenBuffer(h);
}

bool write_bytes(const uint8_t* bytes, int32_t length) {
  HANDLE h = pages[0];
  while (length > 0) {
    DWORD written = 0;
    if (!h || !WriteFile(h, bytes, static_cast<DWORD>(length), &written, nullptr) || written == 0) return false;
    bytes += written;
    length -= static_cast<int32_t>(written);
  }
  return true;
}

constexpr ConsoleBinding win32_binding = {
    start,          buffer_info,   write_cells,   fill,       scroll_up,       set_cursor,
    cursor_visible, show_cursor,   set_attribute, set_window, set_buffer_size, largest_window,
    create_page,    activate_page, write_bytes,
};

}  // namespace

const ConsoleBinding& console_binding() { return win32_binding; }

}  // namespace zv
