// The line editor shared by the graphics screen and the console. It sees the screen only
// through the console-style operations (keys, cursor, printing), so it works wherever
// they are backed. The text lies on the screen from an origin cell on, wrapping at the
// screen's width; printing past the window's bottom scrolls, and the editor follows the
// text by comparing where the cursor ends up with where it would be without scrolling.
#include "gfx/text/graphics_text.h"
#include "platform/platform.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

constexpr int32_t KEY_BACKSPACE = 8;
constexpr int32_t KEY_TAB = 9;
constexpr int32_t KEY_LINE_FEED = 10;
constexpr int32_t KEY_ENTER = 13;
constexpr int32_t KEY_ESC = 27;
constexpr int32_t KEY_HOME = 0x47FF;
constexpr int32_t KEY_UP = 0x48FF;
constexpr int32_t KEY_LEFT = 0x4BFF;
constexpr int32_t KEY_RIGHT = 0x4DFF;
constexpr int32_t KEY_END = 0x4FFF;
constexpr int32_t KEY_DOWN = 0x50FF;
constexpr int32_t KEY_DELETE = 0x53FF;
constexpr int32_t KEY_WINDOW_CLOSED = 0x6BFF;

constexpr int32_t KEY_POLL_MS = 25;
constexpr int32_t TAB_WIDTH = 8;
constexpr uint8_t UNDERLINE_CURSOR = 255;
constexpr uint8_t SPACE = ' ';
constexpr char SPACES[] = "                                ";
constexpr int32_t SPACES_COUNT = sizeof SPACES - 1;
static_assert(SPACES_COUNT >= TAB_WIDTH);

struct LineEditor {
  char* text;
  int32_t length;
  int32_t limit;  // characters the buffer holds besides its terminator
  int32_t pos;    // edit position, 0..length
  int32_t columns;
  int64_t origin;  // the screen cell of text[0], counted row by row from the top left
};

void print_bytes(const void* bytes, int32_t count) { print_text(static_cast<const uint8_t*>(bytes), count, 0); }

int64_t cursor_cell(const LineEditor& ed) {
  int32_t column = 1, row = 1;
  get_cursor(&column, &row);
  return int64_t{row - 1} * ed.columns + (column - 1);
}

// Puts the cursor on the cell of text position index; false when that cell is off the window.
bool move_to(const LineEditor& ed, int32_t index) {
  const int64_t cell = ed.origin + index;
  if (cell < 0) return false;
  const int64_t row = cell / ed.columns + 1;
  if (row > INT32_MAX) return false;
  return locate(static_cast<int32_t>(row), static_cast<int32_t>(cell % ed.columns + 1), -1) == ERR_NONE;
}

// After printing up to text position end: a cursor short of its place by whole rows means
// the window scrolled. One cell short at the start of a row is the parked cursor of a
// print that ended on the window's last cell.
void follow_scroll(LineEditor* ed, int32_t end) {
  int64_t behind = ed->origin + end - cursor_cell(*ed);
  if (ed->columns > 1 && behind % ed->columns == 1) --behind;
  if (behind > 0) ed->origin -= behind;
}

// Like move_to, but a position one cell past the window's bottom is reached by printing
// the character before it and carrying out the line feed that follows.
bool reach(LineEditor* ed, int32_t index) {
  if (move_to(*ed, index)) return true;
  if (index == 0 || ed->origin + index < cursor_cell(*ed) || !move_to(*ed, index - 1)) return false;
  const uint8_t before = index - 1 < ed->length ? static_cast<uint8_t>(ed->text[index - 1]) : SPACE;
  print_bytes(&before, 1);
  print_text(nullptr, 0, PRINT_NEWLINE_ONLY);
  ed->origin = cursor_cell(*ed) - index;
  return true;
}

// Prints text[from..length) and then `blanks` spaces over what moved, from the cell of `from`.
void redraw_from(LineEditor* ed, int32_t from, int32_t blanks) {
  int32_t end = ed->length + blanks;
  while (from < end && !reach(ed, from)) ++from;  // cells scrolled off the top stay unseen
  if (from >= end) return;
  if (from < ed->length) print_bytes(ed->text + from, ed->length - from);
  for (int32_t n = from > ed->length ? end - from : blanks; n > 0; n -= SPACES_COUNT)
    print_bytes(SPACES, n < SPACES_COUNT ? n : SPACES_COUNT);
  follow_scroll(ed, end);
}

// The cursor is the underline printed over the cell; hiding it prints the cell again.
void show_cursor(LineEditor* ed, bool visible) {
  if (!reach(ed, ed->pos)) return;
  uint8_t shown = ed->pos < ed->length ? static_cast<uint8_t>(ed->text[ed->pos]) : SPACE;
  if (visible) shown = UNDERLINE_CURSOR;
  print_bytes(&shown, 1);
}

void insert(LineEditor* ed, const char* bytes, int32_t count) {
  if (count > ed->limit - ed->length) count = ed->limit - ed->length;
  if (count <= 0) return;
  for (int32_t i = ed->length - 1; i >= ed->pos; --i) ed->text[i + count] = ed->text[i];
  for (int32_t i = 0; i < count; ++i) ed->text[ed->pos + i] = bytes[i];
  ed->length += count;
  ed->text[ed->length] = 0;
  redraw_from(ed, ed->pos, 0);
  ed->pos += count;
}

void remove_at(LineEditor* ed, int32_t at) {
  for (int32_t i = at; i < ed->length; ++i) ed->text[i] = ed->text[i + 1];
  --ed->length;
  ed->pos = at;
  redraw_from(ed, at, 1);
}

void clear_all(LineEditor* ed) {
  const int32_t old_length = ed->length;
  ed->length = 0;
  ed->pos = 0;
  ed->text[0] = 0;
  redraw_from(ed, 0, old_length);
}

// Waits for a key through the hooks; a two-character key string gives its extended code.
int32_t next_key() {
  for (;;) {
    while (!key_pending()) sleep(KEY_POLL_MS);
    StringDescriptor* key = key_string();
    int32_t code = 0;
    const int32_t n = str_length(key);
    if (key && key->data && n == 1) code = static_cast<uint8_t>(key->data[0]);
    if (key && key->data && n >= 2) code = static_cast<uint8_t>(key->data[1]) * 256 + 255;
    str_release_temp(key);
    if (code != 0) return code;
  }
}

// Returns false when input ends.
bool apply_key(LineEditor* ed, int32_t code) {
  switch (code) {
    case KEY_ENTER:
    case KEY_LINE_FEED:
      return false;
    case KEY_TAB:
      insert(ed, SPACES, TAB_WIDTH - ed->pos % TAB_WIDTH);
      break;
    case KEY_BACKSPACE:
      if (ed->pos > 0) remove_at(ed, ed->pos - 1);
      break;
    case KEY_DELETE:
      if (ed->pos < ed->length) {
        remove_at(ed, ed->pos);
      } else {
        platform::beep(1000, 250);
      }
      break;
    case KEY_LEFT: if (ed->pos > 0) --ed->pos; break;
    case KEY_RIGHT: if (ed->pos < ed->length) ++ed->pos; break;
    case KEY_HOME: ed->pos = 0; break;
    case KEY_END: ed->pos = ed->length; break;
    case KEY_UP: if (ed->pos - ed->columns >= 0) ed->pos -= ed->columns; break;
    case KEY_DOWN: if (ed->pos + ed->columns <= ed->length) ed->pos += ed->columns; break;
    case KEY_ESC: clear_all(ed); break;
    default:
      if (code >= 32 && code <= 255) {
        const char c = static_cast<char>(code);
        insert(ed, &c, 1);
      }
      break;
  }
  return true;
}

}  // namespace

int32_t edit_line(char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return -1;
  int32_t length = 0;
  while (length < capacity - 1 && buffer[length]) ++length;
  buffer[length] = 0;

  int32_t columns = 0;
  get_size(&columns, nullptr);
  int32_t was_shown = 0;
  locate(0, 0, 0, &was_shown);  // hides the console's cursor; the editor draws its own
  // A line feed still pending from the last print is carried out first, so that the
  // cursor stands where the text will start.
  print_text(nullptr, 0, PRINT_NEWLINE_ONLY);
  LineEditor ed{buffer, length, capacity - 1, length, columns > 0 ? columns : 1, 0};
  ed.origin = cursor_cell(ed);
  if (length > 0) {
    print_bytes(buffer, length);
    follow_scroll(&ed, length);
  }

  int32_t code = 0;
  do {
    show_cursor(&ed, true);
    code = next_key();
    show_cursor(&ed, false);
  } while (code != KEY_WINDOW_CLOSED && apply_key(&ed, code));

  ed.pos = ed.length;
  reach(&ed, ed.pos);
  locate(0, 0, (was_shown & 0x10000) ? 1 : 0);
  return code == KEY_WINDOW_CLOSED ? -1 : ed.length;
}

}  // namespace zv
