// The terminal: key mode with termios, its size, and putting it back on every way out.
#include "platform/posix/terminal.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace zv::platform {

namespace {

struct TerminalState {
  bool handlers_installed;
  bool input_tty;
  struct termios found;  // the modes the program found
  struct termios keys;   // the key mode
};

TerminalState terminal;
uint8_t unread_bytes[256];
int32_t unread_count = 0;
// Read by signal handlers: whether the terminal is in key mode now.
volatile sig_atomic_t taken = 0;
volatile sig_atomic_t resized = 0;
const char* restore_text = "";
bool (*close_request)() = nullptr;

// Signals that end the program: the terminal is put back and the signal goes on to
// whatever handled it before (the default action, or a sanitizer's report).
constexpr int ENDING_SIGNALS[] = {SIGINT, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS,
                                  SIGXCPU, SIGXFSZ};
constexpr int CLOSE_SIGNALS[] = {SIGHUP, SIGTERM};
struct sigaction previous[NSIG];

void write_all_raw(int fd, const char* text, size_t length) {
  while (length > 0) {
    const ssize_t n = write(fd, text, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

// Only async-signal-safe calls: it runs from signal handlers too.
void put_back() {
  if (!taken) return;
  taken = 0;
  if (terminal.input_tty) tcsetattr(STDIN_FILENO, TCSANOW, &terminal.found);
  if (isatty(STDOUT_FILENO)) write_all_raw(STDOUT_FILENO, restore_text, strlen(restore_text));
}

void on_ending_signal(int sig) {
  const int saved_errno = errno;
  put_back();
  sigaction(sig, &previous[sig], nullptr);
  raise(sig);  // delivered with the previous action once this handler returns
  errno = saved_errno;
}

void on_close_signal(int sig) {
  if (close_request && close_request()) return;
  on_ending_signal(sig);
}

void on_resize(int) { resized = 1; }

void on_continue(int) {
  // A stopped program comes back to a terminal that the shell may have reset.
  const int saved_errno = errno;
  if (taken && terminal.input_tty) tcsetattr(STDIN_FILENO, TCSANOW, &terminal.keys);
  errno = saved_errno;
}

void install(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(sig, &action, &previous[sig]);
}

void install_handlers() {
  terminal.handlers_installed = true;
  for (int sig : ENDING_SIGNALS) install(sig, on_ending_signal);
  for (int sig : CLOSE_SIGNALS) install(sig, on_close_signal);
  install(SIGWINCH, on_resize);
  install(SIGCONT, on_continue);
  std::atexit(terminal_restore);
}

}  // namespace

bool terminal_output() { return isatty(STDOUT_FILENO) == 1; }
bool terminal_input() { return isatty(STDIN_FILENO) == 1; }

bool terminal_size(int32_t* columns, int32_t* rows) {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0 || size.ws_row == 0) return false;
  *columns = size.ws_col;
  *rows = size.ws_row;
  return true;
}

bool terminal_resized() {
  const bool was = resized != 0;
  resized = 0;
  return was;
}

void ignore_broken_pipe() {
  static bool done = false;
  if (done) return;
  done = true;
  struct sigaction pipe_action {};
  sigaction(SIGPIPE, nullptr, &pipe_action);
  if (pipe_action.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);
}

void terminal_take() {
  ignore_broken_pipe();
  if (!terminal.handlers_installed) {
    terminal.input_tty = terminal_input() && tcgetattr(STDIN_FILENO, &terminal.found) == 0;
    if (terminal.input_tty) {
      terminal.keys = terminal.found;
      terminal.keys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
      terminal.keys.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR | ISTRIP);
      terminal.keys.c_cc[VMIN] = 0;
      terminal.keys.c_cc[VTIME] = 0;
      // Ctrl+Z and Ctrl+\ are keys like the other control keys; Ctrl+C still interrupts.
      terminal.keys.c_cc[VSUSP] = _POSIX_VDISABLE;
      terminal.keys.c_cc[VQUIT] = _POSIX_VDISABLE;
    }
    install_handlers();
  }
  if (taken) return;
  if (terminal.input_tty) tcsetattr(STDIN_FILENO, TCSANOW, &terminal.keys);
  taken = 1;
}

void terminal_set_restore_text(const char* text) { restore_text = text ? text : ""; }

void terminal_restore() { put_back(); }

void terminal_on_close_request(bool (*callback)()) { close_request = callback; }

int32_t terminal_read(uint8_t* buffer, int32_t capacity, int32_t timeout_ms) {
  if (!terminal.input_tty || !taken || capacity <= 0) return 0;
  if (unread_count > 0) {
    const int32_t n = unread_count < capacity ? unread_count : capacity;
    memcpy(buffer, unread_bytes, static_cast<size_t>(n));
    memmove(unread_bytes, unread_bytes + n, static_cast<size_t>(unread_count - n));
    unread_count -= n;
    return n;
  }
  struct pollfd fd {STDIN_FILENO, POLLIN, 0};
  if (poll(&fd, 1, timeout_ms) <= 0 || !(fd.revents & POLLIN)) return 0;
  const ssize_t n = read(STDIN_FILENO, buffer, static_cast<size_t>(capacity));
  return n > 0 ? static_cast<int32_t>(n) : 0;
}

void terminal_unread(const uint8_t* bytes, int32_t length) {
  for (int32_t i = 0; i < length && unread_count < static_cast<int32_t>(sizeof unread_bytes); ++i)
    unread_bytes[unread_count++] = bytes[i];
}

void terminal_line_mode(bool on) {
  if (taken && terminal.input_tty) tcsetattr(STDIN_FILENO, TCSANOW, on ? &terminal.found : &terminal.keys);
}

int32_t read_input_byte() {
  for (;;) {
    unsigned char c = 0;
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    return n == 1 ? c : -1;
  }
}

bool write_output(const uint8_t* bytes, int32_t length) {
  while (length > 0) {
    const ssize_t n = write(STDOUT_FILENO, bytes, static_cast<size_t>(length));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      struct pollfd fd {STDOUT_FILENO, POLLOUT, 0};
      poll(&fd, 1, -1);
      continue;
    }
    if (n <= 0) return false;
    bytes += n;
    length -= static_cast<int32_t>(n);
  }
  return true;
}

}  // namespace zv::platform
