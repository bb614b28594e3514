#include "runtime/console/cell_pages.h"

#include <algorithm>

namespace zv {

namespace {

constexpr Cell BLANK = {' ', 7};
constexpr int32_t MAX_SIDE = 32767;  // a console coordinate is 16 bits

int32_t clamp(int32_t value, int32_t low, int32_t high) { return std::max(low, std::min(value, high)); }

}  // namespace

void cell_page_resize(CellPage* page, int32_t size_x, int32_t size_y) {
  size_x = clamp(size_x, 1, MAX_SIDE);
  size_y = clamp(size_y, 1, MAX_SIDE);
  std::vector<Cell> cells(static_cast<size_t>(size_x) * static_cast<size_t>(size_y), BLANK);
  for (int32_t y = 0; y < std::min(size_y, page->size_y); ++y)
    for (int32_t x = 0; x < std::min(size_x, page->size_x); ++x)
      cells[static_cast<size_t>(y) * size_x + x] = page->cells[static_cast<size_t>(y) * page->size_x + x];
  page->cells.swap(cells);
  page->size_x = size_x;
  page->size_y = size_y;
  page->cursor_x = clamp(page->cursor_x, 0, size_x - 1);
  page->cursor_y = clamp(page->cursor_y, 0, size_y - 1);
  ConsoleRect& w = page->window;
  const int32_t width = std::min(w.right - w.left + 1, size_x), height = std::min(w.bottom - w.top + 1, size_y);
  w.left = clamp(w.left, 0, size_x - width);
  w.top = clamp(w.top, 0, size_y - height);
  w.right = w.left + std::max(width, 1) - 1;
  w.bottom = w.top + std::max(height, 1) - 1;
}

const Cell& cell_at(const CellPage& page, int32_t x, int32_t y) {
  return page.cells[static_cast<size_t>(y) * page.size_x + x];
}

void cell_page_write(CellPage* page, int32_t x, int32_t y, const uint8_t* bytes, int32_t count, uint8_t attribute) {
  if (y < 0 || y >= page->size_y || count <= 0) return;
  for (int32_t i = 0; i < count; ++i) {
    if (x + i < 0 || x + i >= page->size_x) continue;
    page->cells[static_cast<size_t>(y) * page->size_x + x + i] = {bytes[i], attribute};
  }
}

void cell_page_fill(CellPage* page, int32_t x, int32_t y, int32_t count, uint8_t byte, uint8_t attribute) {
  if (x < 0 || y < 0 || x >= page->size_x || y >= page->size_y || count <= 0) return;
  const int64_t start = int64_t{y} * page->size_x + x;
  const int64_t end = std::min<int64_t>(start + count, static_cast<int64_t>(page->cells.size()));
  for (int64_t i = start; i < end; ++i) page->cells[static_cast<size_t>(i)] = {byte, attribute};
}

ConsoleRect cell_page_scroll_up(CellPage* page, ConsoleRect rect, int32_t lines, uint8_t attribute) {
  rect.left = std::max(rect.left, 0);
  rect.top = std::max(rect.top, 0);
  rect.right = std::min(rect.right, page->size_x - 1);
  rect.bottom = std::min(rect.bottom, page->size_y - 1);
  if (rect.right < rect.left || rect.bottom < rect.top || lines <= 0) return {0, 0, -1, -1};
  const int32_t height = rect.bottom - rect.top + 1;
  if (lines > height) lines = height;
  for (int32_t y = rect.top; y <= rect.bottom; ++y) {
    for (int32_t x = rect.left; x <= rect.right; ++x) {
      Cell& cell = page->cells[static_cast<size_t>(y) * page->size_x + x];
      cell = y + lines <= rect.bottom ? cell_at(*page, x, y + lines) : Cell{' ', attribute};
    }
  }
  return rect;
}

bool cell_page_set_window(CellPage* page, ConsoleRect window, int32_t largest_x, int32_t largest_y) {
  if (window.left < 0 || window.top < 0 || window.right >= page->size_x || window.bottom >= page->size_y ||
      window.right < window.left || window.bottom < window.top)
    return false;
  if (window.right - window.left + 1 > largest_x || window.bottom - window.top + 1 > largest_y) return false;
  page->window = window;
  return true;
}

}  // namespace zv
