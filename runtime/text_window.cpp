// The text window: the rows that console-style printing scrolls within.
#include "runtime/runtime.h"

namespace zv {

namespace {
int32_t top_row = -1;  // 0-based; -1 = not set
int32_t bottom_row = -1;

int32_t reported_rows() {
  int32_t columns = 0, rows = 0;
  get_size(&columns, &rows);
  return rows;
}
}  // namespace

int32_t view_top() {
  if (top_row == -1) top_row = 0;
  return top_row;
}

int32_t view_bottom() {
  if (bottom_row == -1) {
    int32_t rows = reported_rows();
    bottom_row = rows > 0 ? rows - 1 : 24;
  }
  return bottom_row;
}

void view_bounds(int32_t* top, int32_t* bottom) {
  if (top) *top = view_top() + 1;
  if (bottom) *bottom = view_bottom() + 1;
}

void view_store(int32_t top, int32_t bottom) {
  top_row = top;
  bottom_row = bottom;
}

int32_t view_print(int32_t top, int32_t bottom, int32_t move_cursor) {
  int32_t rows = reported_rows();
  if (rows == 0) rows = 25;
  bool changed = false;
  if (top > 0) {
    changed = true;
  } else if (top < 0) {
    top = view_top() + 1;
  } else {
    top = 1;
    changed = true;
  }
  if (bottom > 0) {
    changed = true;
  } else if (bottom < 0) {
    bottom = view_bottom() + 1;
  } else {
    bottom = rows;
    changed = true;
  }
  if (bottom < top || top <= 0 || bottom <= 0 || top > rows || bottom > rows) return 0;
  if (changed) {
    view_store(top - 1, bottom - 1);
    view_update();
    if (move_cursor) locate(top, 1, -1);
  }
  return top + bottom * 65536;
}

int32_t view_print_reset(int32_t top, int32_t bottom) { return view_print(top, bottom, 1); }

}  // namespace zv
