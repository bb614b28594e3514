// The whole display path of the saver: its frames drawn on the in-memory screen, then what
// the X11 driver does with each (change filter, conversion, widening to the full-screen
// scale, and the copy the X server makes of every rectangle sent), at three screen sizes.
// Bytes sent are held against the bytes that changed on the screen, and the time per frame
// against a memcpy of the shown picture and against the budget of 1.5 % of one core, all
// in processor time of the thread.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "app/saver_harness.h"
#include "display/blit/widen.h"
#include "display/host/change_filter.h"
#include "gfx/core/graphics_state.h"
#include "runtime/cpu.h"

namespace {

// Thread CPU time: the machine may be busy, and what counts is what the work costs.
struct Clock {
  using time_point = double;
  static double now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e9 + t.tv_nsec;
  }
};

constexpr int32_t FRAMES = 240;
// The saver sleeps 25 ms and 1 ms per frame: about 37 frames a second.
constexpr double FRAMES_PER_SECOND = 1000.0 / 27;
constexpr double CPU_SHARE_LIMIT = 0.015;
constexpr double BUDGET_NS = CPU_SHARE_LIMIT / FRAMES_PER_SECOND * 1e9;
constexpr double BYTES_LIMIT = 2.0;

struct Screen {
  const char* name;
  int32_t width, height;
};
constexpr Screen SCREENS[] = {{"1024x768", 1024, 768}, {"1920x1080", 1920, 1080}, {"3840x2160", 3840, 2160}};

// The X11 driver's work for one frame, with the X server's copy done here.
struct DisplayPath {
  int32_t scale = 1;
  zv::ChangeFilter filter{};
  zv::SpanBlitFunction convert = nullptr;
  std::vector<uint8_t> converted, image, server;  // unscaled rows, shared image, server's framebuffer
  int32_t pitch = 0, image_pitch = 0;
  int64_t bytes_sent = 0;

  void open(const zv::GraphicsState& gs, int32_t s, bool filtered) {
    scale = s;
    pitch = gs.width * 4;
    image_pitch = pitch * scale;
    converted.assign(static_cast<size_t>(pitch) * gs.height, 0);
    image.assign(static_cast<size_t>(image_pitch) * gs.height * scale, 0);
    server = image;
    convert = zv::choose_span_blitter(32, 0);
    zv::change_filter_open(&filter, gs, filtered);
  }
  ~DisplayPath() { zv::change_filter_close(&filter); }

  static void send(const zv::PictureRect& r, void* context) {
    auto& p = *static_cast<DisplayPath*>(context);
    const int32_t s = p.scale;
    uint8_t* at = p.image.data() + intptr_t{r.y} * s * p.image_pitch + intptr_t{r.x} * s * 4;
    if (s > 1) {
      zv::widen_rows(p.converted.data() + intptr_t{r.y} * p.pitch + intptr_t{r.x} * 4, p.pitch, at, p.image_pitch,
                     r.width, r.height, 4, s);
    }
    const size_t row = static_cast<size_t>(r.width) * s * 4;
    for (int32_t y = 0; y < r.height * s; ++y) {
      const intptr_t offset = (intptr_t{r.y} * s + y) * p.image_pitch + intptr_t{r.x} * s * 4;
      std::memcpy(p.server.data() + offset, p.image.data() + offset, row);
    }
    p.bytes_sent += static_cast<int64_t>(row) * r.height * s;
  }

  void update(const zv::GraphicsState& gs) {
    // Unscaled, the driver converts straight into the image.
    uint8_t* target = scale > 1 ? converted.data() : image.data();
    zv::send_changes(&filter, gs, zv::ChangeTarget{convert, target, scale > 1 ? pitch : image_pitch, send, this});
  }
};

struct Result {
  double frame_ns = 0, path_ns = 0, unfiltered_ns = 0, memcpy_ns = 0, compare_ns = 0, hash_ns = 0;
  double sent = 0, unfiltered_sent = 0, changed = 0;
};

double since(Clock::time_point start) { return Clock::now() - start; }

// A row hash as fast as we could make it, to weigh against comparing with a copy.
uint64_t row_hash(const uint8_t* p, size_t n) {
  uint64_t a = 0x9E3779B97F4A7C15u, b = 0xC2B2AE3D27D4EB4Fu;
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    uint64_t x, y;
    std::memcpy(&x, p + i, 8);
    std::memcpy(&y, p + i + 8, 8);
    a = (a ^ x) * 0xFF51AFD7ED558CCDu;
    b = (b ^ y) * 0xC4CEB9FE1A85EC53u;
  }
  for (; i < n; ++i) a = (a ^ p[i]) * 0x100000001B3u;
  return a ^ (b >> 29);
}

Result measure(const Screen& screen) {
  Result result;
  int32_t scale = std::max(1, std::min(screen.width / 640, screen.height / 400));
  DisplayPath filtered, unfiltered;
  std::vector<uint8_t> previous, copy;
  std::vector<uint64_t> hashes;
  Clock::time_point frame_start = Clock::now();
  volatile uint64_t sink = 0;
  morv::HarnessOptions options;
  options.seed = 777;
  options.frames = FRAMES;
  options.on_frame = [&](const morv::HarnessFrame& frame) {
    result.frame_ns += since(frame_start);
    zv::GraphicsState* gs = zv::graphics_state();
    const size_t bytes = static_cast<size_t>(gs->pitch) * gs->height;
    if (frame.number == 1) {
      filtered.open(*gs, scale, true);
      unfiltered.open(*gs, scale, false);
      previous.assign(gs->visible_buffer, gs->visible_buffer + bytes);
      copy = previous;
      hashes.assign(static_cast<size_t>(gs->height), 0);
    }
    // The driver's work first, on the page just drawn, as the window thread finds it.
    Clock::time_point start = Clock::now();
    filtered.update(*gs);
    result.path_ns += since(start);
    start = Clock::now();
    unfiltered.update(*gs);
    result.unfiltered_ns += since(start);
    // The first frame fills a display that showed nothing yet: only the frames after it count.
    if (frame.number == 1) filtered.bytes_sent = unfiltered.bytes_sent = 0;
    // Pixels whose value differs from the last frame, as shown on the screen.
    int64_t changed = 0;
    for (size_t i = 0; i < bytes; i += 4) changed += std::memcmp(&previous[i], gs->visible_buffer + i, 4) != 0;
    result.changed += static_cast<double>(changed) * scale * scale * 4;
    previous.assign(gs->visible_buffer, gs->visible_buffer + bytes);

    // What finding the changed rows costs with a copy, and with a row hash.
    start = Clock::now();
    for (int32_t y = 0; y < gs->height; ++y) {
      const size_t at = static_cast<size_t>(y) * gs->pitch;
      if (std::memcmp(gs->visible_buffer + at, copy.data() + at, static_cast<size_t>(gs->pitch)) != 0)
        std::memcpy(copy.data() + at, gs->visible_buffer + at, static_cast<size_t>(gs->pitch));
    }
    result.compare_ns += since(start);
    start = Clock::now();
    for (int32_t y = 0; y < gs->height; ++y) {
      uint64_t h = row_hash(gs->visible_buffer + static_cast<size_t>(y) * gs->pitch, static_cast<size_t>(gs->pitch));
      sink = sink + (h != hashes[static_cast<size_t>(y)]);
      hashes[static_cast<size_t>(y)] = h;
    }
    result.hash_ns += since(start);

    start = Clock::now();
    std::memcpy(filtered.server.data(), filtered.image.data(), filtered.image.size());
    result.memcpy_ns += since(start);
    std::fill(gs->dirty, gs->dirty + gs->height * gs->scanline_size, 0);
    frame_start = Clock::now();
  };
  morv::run_saver(options);
  if (filtered.server != unfiltered.server) std::fprintf(stderr, "bench_saver: the filtered picture differs!\n");
  result.sent = static_cast<double>(filtered.bytes_sent) / (FRAMES - 1);
  result.unfiltered_sent = static_cast<double>(unfiltered.bytes_sent) / (FRAMES - 1);
  result.changed /= FRAMES - 1;
  for (double* v : {&result.frame_ns, &result.path_ns, &result.unfiltered_ns, &result.memcpy_ns, &result.compare_ns,
                    &result.hash_ns})
    *v /= FRAMES;
  return result;
}

const char* verdict(bool pass) { return pass ? "PASS" : "MISS"; }

}  // namespace

int main() {
  std::printf("Saver display path: %d frames of the saver (seed 777), the X11 driver's work for each\n"
              "(filter, conversion, widening, the server's copy of what is sent), the vector set %s.\n"
              "Budget per frame: %.1f %% of one core at %.0f frames/s = %.0f us. Per frame (bytes: after the first,\n"
              "which fills the empty display; times: processor time of the thread):\n\n",
              FRAMES, zv::simd_level() == zv::SIMD_AVX512 ? "AVX-512"
                      : zv::simd_level() == zv::SIMD_AVX2 ? "AVX2"
                      : zv::simd_level() == zv::SIMD_SSE2 ? "SSE2" : "none",
              CPU_SHARE_LIMIT * 100, FRAMES_PER_SECOND, BUDGET_NS / 1000);
  std::printf("%-10s %5s %10s %10s %10s %7s  %9s %9s %9s %8s %8s  %9s %9s\n", "screen", "scale", "changed", "sent",
              "unfiltered", "sent/ch", "saver us", "path us", "unfilt us", "memcpy", "/memcpy", "compare", "hash");
  int32_t met = 0, total = 0;
  for (const Screen& screen : SCREENS) {
    Result r = measure(screen);
    const int32_t scale = std::max(1, std::min(screen.width / 640, screen.height / 400));
    const double ratio = r.changed > 0 ? r.sent / r.changed : 0;
    const double cost = r.frame_ns + r.path_ns;
    const bool bytes_ok = ratio <= BYTES_LIMIT, time_ok = cost <= BUDGET_NS;
    met += bytes_ok + time_ok;
    total += 2;
    std::printf("%-10s %5d %9.0fK %9.0fK %9.0fK %7.2f  %9.1f %9.1f %9.1f %8.1f %8.3f  %9.1f %9.1f\n", screen.name, scale,
                r.changed / 1024, r.sent / 1024, r.unfiltered_sent / 1024, ratio, r.frame_ns / 1000, r.path_ns / 1000,
                r.unfiltered_ns / 1000, r.memcpy_ns / 1000, r.path_ns / r.memcpy_ns, r.compare_ns / 1000,
                r.hash_ns / 1000);
    std::printf("%-10s       bytes sent / changed %.2f (limit %.1f) %s; saver frame + display path %.0f us "
                "(limit %.0f) %s\n",
                "", ratio, BYTES_LIMIT, verdict(bytes_ok), cost / 1000, BUDGET_NS / 1000, verdict(time_ok));
  }
  std::printf("\n\"compare\" finds the changed rows by comparing with a copy (the filter's way, which also gives\n"
              "the changed stretches); \"hash\" by a 64-bit row hash, which gives rows only.\n");
  std::printf("\nGoals met: %d of %d\n", met, total);
  return 0;
}
