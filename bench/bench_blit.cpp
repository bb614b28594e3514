// Throughput of every blitter at three sizes, against memcpy of the same bytes and against
// SDL2, pixman and libyuv on the same buffers, with a table of goals at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "blit_rivals.h"
#include "display/blit/blit.h"
#include "gfx/core/graphics_state.h"
#include "runtime/cpu.h"

namespace {

struct Member {
  int32_t depth, type, red_low;
  std::string name() const {
    return std::to_string(depth) + "->" + std::to_string(type) + (red_low ? " rl" : " rh");
  }
  int32_t source_bytes() const { return depth / 8; }
  int32_t surface_bytes() const { return type == 8 ? 1 : type == 24 ? 3 : type == 32 ? 4 : 2; }
};

struct Size {
  const char* name;
  int32_t width, height;
};
// A small window frame, a full-HD frame, and one row that stays in the first-level cache.
constexpr Size SIZES[] = {{"640x400", 640, 400}, {"1920x1080", 1920, 1080}, {"row 1920", 1920, 1}};

std::vector<Member> members() {
  std::vector<Member> out;
  for (int32_t depth : {8, 16, 32})
    for (int32_t type : {8, 15, 16, 24, 32})
      for (int32_t red_low : {0, 1}) {
        if (type == 8 && (depth != 8 || red_low)) continue;
        out.push_back({depth, type, red_low});
      }
  return out;
}

// The same buffers serve every measurement.
std::vector<uint8_t> source_buffer(1920 * 1080 * 4), surface_buffer(1920 * 1080 * 4);
std::vector<uint8_t> dirty(1080, 1);
uint32_t palette[256];

std::map<std::string, double> nanoseconds;  // per iteration, by benchmark name

class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (!run.error_occurred) nanoseconds[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

zv::GraphicsState make_screen(const Member& m, const Size& size, bool vector_set) {
  zv::GraphicsState gs{};
  gs.depth = m.depth;
  gs.bytes_per_pixel = m.source_bytes();
  gs.width = size.width;
  gs.height = size.height;
  gs.pitch = size.width * m.source_bytes();
  gs.scanline_size = 1;
  gs.visible_buffer = source_buffer.data();
  gs.dirty = dirty.data();
  gs.device_palette = palette;
  gs.flags = vector_set ? zv::GS_MMX : 0;
  return gs;
}

// -1: the set chosen for this processor.
const char* set_label(int32_t level) {
  switch (level) {
    case -1: return "zvgfx";
    case zv::SIMD_SSE2: return "sse2";
    case zv::SIMD_AVX2: return "avx2";
    default: return "plain";
  }
}

const char* level_name(int32_t level) {
  switch (level) {
    case zv::SIMD_AVX512: return "AVX-512";
    case zv::SIMD_AVX2: return "AVX2";
    case zv::SIMD_SSE2: return "SSE2";
    default: return "none";
  }
}

std::string key(const char* what, const Member& m, const Size& s) { return std::string(what) + "/" + m.name() + "/" + s.name; }
std::string memcpy_key(int64_t bytes) { return "memcpy/" + std::to_string(bytes); }

void register_all() {
  for (const Size& size : SIZES) {
    for (const Member& m : members()) {
      // The chosen set, the plain one, and for indexed pages the narrower sets too.
      for (int32_t level : {-1, int32_t{zv::SIMD_NONE}, int32_t{zv::SIMD_AVX2}, int32_t{zv::SIMD_SSE2}}) {
        if (level > zv::SIMD_NONE && (m.depth != 8 || m.type == 8 || level >= zv::simd_level())) continue;
        benchmark::RegisterBenchmark(key(set_label(level), m, size).c_str(), [=](benchmark::State& state) {
          zv::GraphicsState gs = make_screen(m, size, level != zv::SIMD_NONE);
          zv::current_screen = &gs;
          zv::force_simd_level(level);
          zv::BlitFunction blit = zv::choose_blitter(m.type, m.red_low);
          zv::force_simd_level(-1);
          int32_t pitch = size.width * m.surface_bytes();
          for (auto _ : state) {
            blit(surface_buffer.data(), pitch);
            benchmark::ClobberMemory();
          }
          zv::current_screen = nullptr;
          state.SetItemsProcessed(state.iterations() * size.width * size.height);
        });
      }
      for (const bench::Rival& probe : bench::make_rivals(m.depth, m.type, m.red_low, source_buffer.data(),
                                                          size.width * m.source_bytes(), surface_buffer.data(),
                                                          size.width * m.surface_bytes(), size.width, size.height,
                                                          palette)) {
        probe.release();
        std::string library = probe.library;
        benchmark::RegisterBenchmark(key(library.c_str(), m, size).c_str(), [=](benchmark::State& state) {
          for (const bench::Rival& rival :
               bench::make_rivals(m.depth, m.type, m.red_low, source_buffer.data(), size.width * m.source_bytes(),
                                  surface_buffer.data(), size.width * m.surface_bytes(), size.width, size.height,
                                  palette)) {
            if (rival.library == library)
              for (auto _ : state) {
                rival.run();
                benchmark::ClobberMemory();
              }
            rival.release();
          }
          state.SetItemsProcessed(state.iterations() * size.width * size.height);
        });
      }
    }
    // memcpy moving the same bytes (read plus written) as a member with these pixel sizes.
    for (int32_t sum = 2; sum <= 8; ++sum) {
      int64_t bytes = int64_t{size.width} * size.height * sum / 2;
      benchmark::RegisterBenchmark(memcpy_key(bytes).c_str(), [=](benchmark::State& state) {
        for (auto _ : state) {
          std::memcpy(surface_buffer.data(), source_buffer.data(), static_cast<size_t>(bytes));
          benchmark::ClobberMemory();
        }
        state.SetBytesProcessed(state.iterations() * bytes * 2);
      });
    }
  }
}

double ratio(const std::string& slower, const std::string& ours) {
  auto a = nanoseconds.find(slower), b = nanoseconds.find(ours);
  if (a == nanoseconds.end() || b == nanoseconds.end() || b->second <= 0) return -1;
  return a->second / b->second;
}

int goals_met = 0, goals_total = 0;

// One column: the ratio, and PASS/MISS when a goal applies.
std::string column(const char* label, double value, double goal) {
  char text[48];
  if (value < 0) {
    std::snprintf(text, sizeof text, "%s    -      ", label);
    return text;
  }
  const char* verdict = "";
  if (goal > 0) {
    ++goals_total;
    verdict = value >= goal ? " PASS" : " MISS";
    if (value >= goal) ++goals_met;
  }
  std::snprintf(text, sizeof text, "%s %5.2f%-5s ", label, value, verdict);
  return text;
}

double mpix(const std::string& name, const Size& size) {
  auto found = nanoseconds.find(name);
  return found == nanoseconds.end() ? 0 : double(size.width) * size.height / found->second * 1000;
}

void print_summary() {
  std::printf("\nBlitters (vector set: %s). Mpix/s of the chosen member and of the plain set; ratios are\n"
              "time of the other / time of ours (memcpy moving the same source + surface bytes), in processor\n"
              "time, which a busy machine disturbs less than wall time.\n",
              level_name(zv::simd_level()));
  std::printf("%-9s %-10s %8s %8s  %-16s%-16s%-18s%-16s\n", "member", "size", "Mpix/s", "plain", "memcpy", "SDL2",
              "pixman", "libyuv");
  for (const Size& size : SIZES)
    for (const Member& m : members()) {
      std::string ours = key("zvgfx", m, size);
      int64_t bytes = int64_t{size.width} * size.height * (m.source_bytes() + m.surface_bytes()) / 2;
      bool full_hd = size.height == 1080, in_cache = size.height == 1, window = size.height == 400;
      bool to_16 = m.depth == 32 && (m.type == 15 || m.type == 16);
      bool from_16 = m.depth == 16 && m.type == 32, palette_32 = m.depth == 8 && m.type == 32;
      bool palette = m.depth == 8 && m.type != 8 && m.type != 24;
      bool to_24 = m.depth == 32 && m.type == 24;
      double memcpy_goal = full_hd ? 0.7 : palette_32 && window ? 0.5 : 0;
      double sdl_goal = palette && !in_cache ? 2 : to_16 ? 3 : from_16 ? 1.5 : to_24 ? 2 : 0;
      double pixman_goal = to_16 ? 0.8 : palette_32 ? 1.5 : 0;
      double yuv_goal = from_16 ? 0.8 : to_24 && in_cache ? 0.5 : 0;
      std::printf("%-9s %-10s %8.0f %8.0f  %s%s%s%s\n", m.name().c_str(), size.name, mpix(ours, size),
                  mpix(key("plain", m, size), size),
                  column("", ratio(memcpy_key(bytes), ours), memcpy_goal).c_str(),
                  column("", ratio(key("SDL2", m, size), ours), sdl_goal).c_str(),
                  column("", ratio(key("pixman", m, size), ours), pixman_goal).c_str(),
                  column("", ratio(key("libyuv", m, size), ours), yuv_goal).c_str());
    }
  if (zv::simd_level() > zv::SIMD_AVX2) {
    std::printf("\nIndexed pages on machines without AVX-512: the AVX2 set (gathers) against the SSE2 set\n"
                "(one lookup per pixel) and SDL2, as time of the other / time of the AVX2 set.\n");
    std::printf("%-9s %-10s %8s %8s  %-16s%-16s\n", "member", "size", "AVX2", "SSE2", "SSE2", "SDL2");
    for (const Size& size : SIZES)
      for (const Member& m : members()) {
        if (m.depth != 8 || m.type == 8 || m.type == 24) continue;
        std::string avx2 = key("avx2", m, size);
        std::printf("%-9s %-10s %8.0f %8.0f  %s%s\n", m.name().c_str(), size.name, mpix(avx2, size),
                    mpix(key("sse2", m, size), size), column("", ratio(key("sse2", m, size), avx2), 0).c_str(),
                    column("", ratio(key("SDL2", m, size), avx2), 0).c_str());
      }
  }
  std::printf("\nGoals met: %d of %d\n", goals_met, goals_total);
}

}  // namespace

int main(int argc, char** argv) {
  std::mt19937 rng(12345);
  for (auto& b : source_buffer) b = static_cast<uint8_t>(rng());
  for (auto& p : palette) p = rng() & 0xFFFFFF;
  static uint32_t table[512];
  zv::blit_conversion_table = table;
  register_all();
  // Short runs keep the whole program to about a minute on a busy machine.
  std::vector<char*> args(argv, argv + argc);
  std::string min_time = "--benchmark_min_time=0.05";
  bool has_min_time = false;
  for (int i = 1; i < argc; ++i) has_min_time |= std::strncmp(argv[i], "--benchmark_min_time", 20) == 0;
  if (!has_min_time) args.push_back(min_time.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  print_summary();
  benchmark::Shutdown();
  return 0;
}
