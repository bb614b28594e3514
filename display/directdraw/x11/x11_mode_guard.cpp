#include "display/directdraw/x11/x11_mode_guard.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/posix/x11_open.h"

namespace zv {

namespace {

// RandR minor opcodes.
constexpr uint8_t RR_SET_SCREEN_SIZE = 7;
constexpr uint8_t RR_SET_CRTC_CONFIG = 21;
constexpr int32_t REPLY_WAIT_MS = 2000;

enum GuardState : int32_t { GUARD_IDLE, GUARD_ARMED, GUARD_RESTORING };

constexpr int GUARDED_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr int SIGNAL_COUNT = sizeof GUARDED_SIGNALS / sizeof GUARDED_SIGNALS[0];

std::atomic<int32_t> state{GUARD_IDLE};
Display* guard_display = nullptr;
std::atomic<int32_t> guard_server_lost{0};
Window guard_root = 0;
X11ModeSwitch guarded{};
int guard_fd = -1;
uint8_t requests[256];
int32_t request_bytes = 0;
struct sigaction previous[SIGNAL_COUNT];
bool installed[SIGNAL_COUNT];

class Writer {
 public:
  Writer(uint8_t* out, int32_t size) : out_(out), size_(size) {}
  template <class T>
  void put(T value) {
    if (at_ + static_cast<int32_t>(sizeof value) > size_) {
      failed_ = true;
      return;
    }
    std::memcpy(out_ + at_, &value, sizeof value);
    at_ += sizeof value;
  }
  int32_t used() const { return failed_ ? 0 : at_; }

 private:
  uint8_t* out_;
  int32_t size_;
  int32_t at_ = 0;
  bool failed_ = false;
};

void put_screen_size(Writer& w, uint8_t major, uint32_t root, int32_t width, int32_t height, int32_t mm_width,
                     int32_t mm_height) {
  w.put<uint8_t>(major);
  w.put<uint8_t>(RR_SET_SCREEN_SIZE);
  w.put<uint16_t>(5);  // length in 4-byte units
  w.put<uint32_t>(root);
  w.put<uint16_t>(static_cast<uint16_t>(width));
  w.put<uint16_t>(static_cast<uint16_t>(height));
  w.put<uint32_t>(static_cast<uint32_t>(mm_width));
  w.put<uint32_t>(static_cast<uint32_t>(mm_height));
}

// Async-signal-safe: write the requests, then wait for the CRTC setup's reply, so the
// server has done it all before the process goes.
void write_restore() {
  int32_t sent = 0;
  while (sent < request_bytes) {
    ssize_t n = write(guard_fd, requests + sent, static_cast<size_t>(request_bytes - sent));
    if (n <= 0) return;
    sent += static_cast<int32_t>(n);
  }
  uint8_t packet[32];
  for (int32_t replies = 0; replies < X11_RESTORE_REPLIES;) {
    pollfd p{guard_fd, POLLIN, 0};
    if (poll(&p, 1, REPLY_WAIT_MS) <= 0) return;
    int32_t got = 0;
    while (got < 32) {
      ssize_t n = read(guard_fd, packet + got, static_cast<size_t>(32 - got));
      if (n <= 0) return;
      got += static_cast<int32_t>(n);
    }
    uint16_t minor = 0;
    std::memcpy(&minor, packet + 8, sizeof minor);
    if (packet[0] == 1) {  // a reply (its length is 0 for the CRTC setup)
      ++replies;
    } else if (packet[0] == 0 && minor == RR_SET_CRTC_CONFIG) {  // the setup itself failed
      return;
    }
  }
}

void on_signal(int signal_number) {
  int32_t expected = GUARD_ARMED;
  if (state.compare_exchange_strong(expected, GUARD_RESTORING)) write_restore();
  // Hand the signal to whoever had it before: it is delivered again once we return.
  for (int i = 0; i < SIGNAL_COUNT; ++i) {
    if (GUARDED_SIGNALS[i] == signal_number && installed[i]) {
      sigaction(signal_number, &previous[i], nullptr);
      installed[i] = false;
    }
  }
  raise(signal_number);
}

void install_handlers() {
  for (int i = 0; i < SIGNAL_COUNT; ++i) {
    if (installed[i]) continue;
    struct sigaction current {};
    sigaction(GUARDED_SIGNALS[i], nullptr, &current);
    if (current.sa_handler == SIG_IGN) continue;  // an ignored signal ends nothing
    struct sigaction ours {};
    ours.sa_handler = on_signal;
    sigemptyset(&ours.sa_mask);
    ours.sa_flags = SA_RESTART;
    if (sigaction(GUARDED_SIGNALS[i], &ours, &previous[i]) == 0) installed[i] = true;
  }
}

}  // namespace

int32_t x11_restore_requests(uint8_t major, uint32_t root, const X11ModeSwitch& m, uint8_t* out, int32_t size) {
  Writer w(out, size);
  const X11ScreenSize& was = m.original_screen;
  if (m.resize_screen) {
    put_screen_size(w, major, root, std::max(was.width, m.area.right), std::max(was.height, m.area.bottom),
                    was.mm_width, was.mm_height);
  }
  const X11CrtcSetup& s = m.original;
  w.put<uint8_t>(major);
  w.put<uint8_t>(RR_SET_CRTC_CONFIG);
  w.put<uint16_t>(static_cast<uint16_t>(7 + s.output_count));
  w.put<uint32_t>(static_cast<uint32_t>(s.crtc));
  w.put<uint32_t>(0);  // the time of the request: now
  w.put<uint32_t>(static_cast<uint32_t>(m.config_time));
  w.put<int16_t>(static_cast<int16_t>(s.x));
  w.put<int16_t>(static_cast<int16_t>(s.y));
  w.put<uint32_t>(static_cast<uint32_t>(s.mode));
  w.put<uint16_t>(static_cast<uint16_t>(s.rotation));
  w.put<uint16_t>(0);
  for (int32_t i = 0; i < s.output_count; ++i) w.put<uint32_t>(static_cast<uint32_t>(s.outputs[i]));
  if (m.resize_screen) put_screen_size(w, major, root, was.width, was.height, was.mm_width, was.mm_height);
  return w.used();
}

bool x11_guard_arm(const X11ModeSwitch& modes) {
  if (state.load() != GUARD_IDLE) x11_guard_restore();
  Display* d = platform::open_x_display(&guard_server_lost);
  if (!d) return false;
  int major = 0, event_base = 0, error_base = 0;
  if (!XQueryExtension(d, "RANDR", &major, &event_base, &error_base)) {
    XCloseDisplay(d);
    return false;
  }
  guard_display = d;
  guard_root = DefaultRootWindow(d);
  guarded = modes;
  XSync(d, False);  // nothing of Xlib's may be left in the socket before our own bytes
  guard_fd = ConnectionNumber(d);
  request_bytes = x11_restore_requests(static_cast<uint8_t>(major), static_cast<uint32_t>(guard_root), modes, requests,
                                       sizeof requests);
  install_handlers();
  state.store(GUARD_ARMED);
  return true;
}

void x11_guard_restore() {
  int32_t expected = GUARD_ARMED;
  if (!state.compare_exchange_strong(expected, GUARD_RESTORING)) return;
  x11_restore_mode(guard_display, guard_root, guarded);
  XCloseDisplay(guard_display);
  guard_display = nullptr;
  guard_fd = -1;
  state.store(GUARD_IDLE);
}

bool x11_guard_armed() { return state.load() == GUARD_ARMED; }

}  // namespace zv
