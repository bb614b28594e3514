// Small console programs for the end-to-end scripts, one per argument. Each prints what
// it found so that the script can read it from the screen or from a file.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zvgfx.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace zv;

namespace {

// On Windows, with ZV_CONSOLE_DUMP naming a file: the active console buffer's visible
// rows are appended to it, read back from the console itself. Wine's terminal console
// does not redraw everything it holds, so the scripts check the buffer this way.
void dump(const char* label) {
#ifdef _WIN32
  const char* path = std::getenv("ZV_CONSOLE_DUMP");
  if (!path) return;
  HANDLE active = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info;
  FILE* out = std::fopen(path, "ab");
  if (!out) return;
  std::fprintf(out, "== %s\n", label);
  if (active != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(active, &info)) {
    for (SHORT y = info.srWindow.Top; y <= info.srWindow.Bottom; ++y) {
      char row[512] = {};
      DWORD got = 0;
      const DWORD width = static_cast<DWORD>(info.srWindow.Right - info.srWindow.Left + 1);
      ReadConsoleOutputCharacterA(active, row, width < sizeof row ? width : sizeof row - 1, COORD{info.srWindow.Left, y},
                                  &got);
      std::string text(row, got);
      text.erase(text.find_last_not_of(' ') + 1);
      std::fprintf(out, "%s\n", text.c_str());
    }
  }
  std::fclose(out);
  if (active != INVALID_HANDLE_VALUE) CloseHandle(active);
#else
  (void)label;
#endif
}

void say(const std::string& text) { print_string(0, str_temp_wrap_cstr(text.c_str()), 0); }
void say_line(const std::string& text) { print_string(0, str_temp_wrap_cstr(text.c_str()), 1); }

std::string size_text() {
  int32_t columns = 0, rows = 0;
  get_size(&columns, &rows);
  return std::to_string(columns) + "x" + std::to_string(rows);
}

// Lines 1 to 30 on a full-screen text window: the screen scrolls.
int scroll() {
  for (int i = 1; i <= 30; ++i) say_line("scroll line " + std::to_string(i));
  say("done");
  dump("scroll");
  wait_key();
  return 0;
}

// The width query, a narrower console, and text that wraps at its edge.
int width() {
  const int32_t before = set_width(0, 0);
  const int32_t changed = set_width(40, 10);
  clear_screen(0);
  say_line("before " + std::to_string(before & 0xFFFF) + "x" + std::to_string(before >> 16) + " change " +
           std::to_string(changed) + " now " + size_text());
  say(std::string(45, 'w'));
  dump("width");
  wait_key();
  return 0;
}

// Pages 1 and 0 in turn, each with its own text.
int pages() {
  clear_screen(0);
  say("on page zero");
  const int32_t first = page_set(1, 1);
  clear_screen(0);
  say("on page one " + std::to_string(first));
  dump("page 1");
  wait_key();
  const int32_t second = page_set(0, 0);
  locate(2, 1, -1);
  say("back " + std::to_string(second));
  dump("page 0");
  wait_key();
  return 0;
}

// Key codes until q, the close key or Esc.
int keys() {
  say_line("ready");
  for (;;) {
    const int32_t code = wait_key();
    say_line("code " + std::to_string(code));
    if (code == 'q' || code == 27 || code == KEY_CLOSE) return 0;
  }
}

// The terminal size now and after a key (the terminal may have been resized meanwhile).
int size() {
  say_line("size " + size_text());
  wait_key();
  view_update();
  say_line("size " + size_text());
  wait_key();
  return 0;
}

// Mouse state after each key.
int mouse() {
  int32_t x = 0, y = 0, wheel = 0, buttons = 0, clip = 0;
  say_line("mouse " + std::to_string(get_mouse(&x, &y, &wheel, &buttons, &clip)));
  while (wait_key() != 'q') {
    const int32_t error = get_mouse(&x, &y, &wheel, &buttons, &clip);
    say_line("mouse " + std::to_string(error) + " at " + std::to_string(x) + "," + std::to_string(y) + " wheel " +
             std::to_string(wheel) + " buttons " + std::to_string(buttons));
  }
  return 0;
}

// Appends a line to the ZV_CONSOLE_DUMP file, if one is named.
void note(const std::string& line) {
  const char* path = std::getenv("ZV_CONSOLE_DUMP");
  if (FILE* out = path ? std::fopen(path, "ab") : nullptr) {
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
  }
}

// Whether Shift (scan code 42) is held, every 200 ms until q.
int held() {
  for (;;) {
    const std::string line = "held " + std::to_string(console_hooks().key_held(42));
    say_line(line);
    note(line);
    sleep(200);
    StringDescriptor* key = key_string();
    const bool quit = str_length(key) == 1 && key->data[0] == 'q';
    str_release_temp(key);
    if (quit) return 0;
  }
}

// Every byte value through the console: with output redirected they arrive unchanged.
int bytes() {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  say(all);
  set_color(12, 1, 0);
  locate(3, 4, 0);
  clear_screen(0);
  say_line("after colour, locate and clear");
  return 0;
}

// Printing for ever into a pipe whose reader goes away.
int flood() {
  for (int i = 0; i < 100000; ++i) say_line("flood line " + std::to_string(i));
  return get_error() == 1 ? 3 : 0;
}

// Crashes after the terminal went into key mode.
int crash() {
  say_line("keys " + std::to_string(key_pending()));
  std::raise(SIGSEGV);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  runtime_init();
  set_args(argc, argv, 0);
  const char* what = argc > 1 ? argv[1] : "";
  struct Case {
    const char* name;
    int (*run)();
  };
  const Case cases[] = {{"scroll", scroll}, {"width", width}, {"pages", pages}, {"keys", keys},
                        {"size", size},     {"mouse", mouse}, {"held", held},   {"bytes", bytes},
                        {"flood", flood},   {"crash", crash}};
  for (const Case& c : cases)
    if (std::strcmp(c.name, what) == 0) return c.run();
  std::fprintf(stderr, "usage: console_cases scroll|width|pages|keys|size|mouse|held|bytes|flood|crash\n");
  return 2;
}
