#include "blit_harness.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "runtime/cpu.h"

namespace blit_test {

Scene::Scene(int32_t depth, int32_t width, int32_t height, int32_t scanline_size) {
  gs.depth = depth;
  gs.bytes_per_pixel = (depth + 7) / 8;
  if (depth == 15) gs.bytes_per_pixel = 2;
  if (depth == 24) gs.bytes_per_pixel = 4;
  gs.width = width;
  gs.height = height;
  gs.pitch = gs.bytes_per_pixel * width;
  gs.scanline_size = scanline_size;
  page.assign(static_cast<size_t>(gs.pitch) * height, 0);
  dirty.assign(static_cast<size_t>(height) * scanline_size, 1);
  palette.assign(256, 0);
}

void Scene::randomise(std::mt19937& rng) {
  for (auto& b : page) b = static_cast<uint8_t>(rng());
  for (auto& p : palette) p = rng();
  for (auto& d : dirty) d = rng() % 3 == 0 ? 0 : static_cast<uint8_t>(1 + rng() % 255);
}

void Scene::install() {
  gs.visible_buffer = page.data();
  gs.dirty = dirty.data();
  gs.device_palette = palette.data();
  zv::current_screen = &gs;
  zv::blit_conversion_table = table.data();
}

const char* set_name(int32_t level) {
  static const char* names[] = {"plain", "sse2", "avx2", "avx512"};
  return names[level];
}

bool set_available(int32_t level) {
  zv::force_simd_level(level);
  bool ok = zv::simd_level() == level;
  zv::force_simd_level(-1);
  return ok;
}

namespace {

template <class Chooser>
auto choose_with_level(int32_t level, Chooser choose) {
  zv::GraphicsState* gs = zv::current_screen;
  uint32_t saved = gs->flags;
  gs->flags = level == SET_PLAIN ? saved & ~zv::GS_MMX : saved | zv::GS_MMX;
  zv::force_simd_level(level);
  auto f = choose();
  zv::force_simd_level(-1);
  gs->flags = saved;
  return f;
}

}  // namespace

zv::BlitFunction choose_in_set(int32_t level, int32_t type, int32_t red_low) {
  return choose_with_level(level, [&] { return zv::choose_blitter(type, red_low); });
}

zv::SpanBlitFunction choose_spans_in_set(int32_t level, int32_t type, int32_t red_low) {
  return choose_with_level(level, [&] { return zv::choose_span_blitter(type, red_low); });
}

std::vector<Member> all_members() {
  std::vector<Member> members;
  for (int32_t depth : {8, 16, 32})
    for (int32_t type : {8, 15, 16, 24, 32})
      for (int32_t red_low : {0, 1})
        if (depth == 8 || type != 8) members.push_back({depth, type, red_low});
  return members;
}

std::vector<int32_t> available_levels() {
  std::vector<int32_t> out{SET_PLAIN};
  for (int32_t level : {SET_SSE2, SET_AVX2, SET_AVX512})
    if (set_available(level)) out.push_back(level);
    else std::printf("note: %s not available on this processor, not tested\n", set_name(level));
  return out;
}

namespace {

int32_t surface_bytes_per_pixel(int32_t type) { return type == 8 ? 1 : type == 24 ? 3 : type == 32 ? 4 : 2; }

// Channels of one source pixel at their own widths.
struct Channels {
  uint32_t r, g, b;
  int32_t r_bits, g_bits, b_bits;
};

Channels read_source(const Scene& s, const uint8_t* row, int32_t x) {
  if (s.gs.bytes_per_pixel == 1) {
    uint32_t e = s.palette[row[x]];
    return {e & 0xFF, (e >> 8) & 0xFF, (e >> 16) & 0xFF, 8, 8, 8};
  }
  if (s.gs.bytes_per_pixel == 2) {
    uint32_t p = row[2 * x] | row[2 * x + 1] << 8;
    return {p >> 11, (p >> 5) & 0x3F, p & 0x1F, 5, 6, 5};
  }
  // Byte 3 of a 32-bit pixel is never looked at.
  return {row[4 * x + 2], row[4 * x + 1], row[4 * x], 8, 8, 8};
}

// Narrower: the top bits; wider: the bits at the top with zeros below.
uint32_t resize(uint32_t value, int32_t from, int32_t to) { return to <= from ? value >> (from - to) : value << (to - from); }

// The bytes one pixel becomes, lowest address first.
void write_pixel(const Channels& c, int32_t type, int32_t red_low, uint8_t* out) {
  uint32_t v = 0;
  if (type == 15 || type == 16) {
    int32_t gbits = type == 15 ? 5 : 6;
    uint32_t r = resize(c.r, c.r_bits, 5), g = resize(c.g, c.g_bits, gbits), b = resize(c.b, c.b_bits, 5);
    uint32_t high = red_low ? b : r, low = red_low ? r : b;
    v = high << (5 + gbits) | g << 5 | low;
    out[0] = v & 0xFF;
    out[1] = v >> 8;
    return;
  }
  uint32_t r = resize(c.r, c.r_bits, 8), g = resize(c.g, c.g_bits, 8), b = resize(c.b, c.b_bits, 8);
  // 24 bits: B, G, R in memory red-high, R, G, B red-low; 32 bits the same plus a zero byte.
  out[0] = red_low ? r : b;
  out[1] = g;
  out[2] = red_low ? b : r;
  if (type == 32) out[3] = 0;
}

bool is_copy(const Scene& s, int32_t type, int32_t red_low) {
  int32_t bpp = s.gs.bytes_per_pixel;
  return (bpp == 1 && type == 8) || (bpp == 2 && type == 16 && !red_low) || (bpp == 4 && type == 32 && !red_low);
}

}  // namespace

int32_t surface_row_bytes(const Scene& scene, int32_t type) {
  if (is_copy(scene, type, 0)) return scene.gs.pitch;
  return scene.gs.width * surface_bytes_per_pixel(type);
}

Surface make_surface(const Scene& scene, int32_t type, int32_t slack, bool bottom_up, uint32_t canary_seed) {
  Surface s;
  int32_t rows = scene.gs.height * scene.gs.scanline_size;
  int32_t stride = surface_row_bytes(scene, type) + slack;
  s.bytes.resize(static_cast<size_t>(stride) * rows);
  std::mt19937 rng(canary_seed);
  for (auto& b : s.bytes) b = static_cast<uint8_t>(rng());
  s.pitch = bottom_up ? -stride : stride;
  s.first_row = bottom_up ? static_cast<size_t>(stride) * (rows - 1) : 0;
  return s;
}

std::vector<uint8_t> expected_surface(const Scene& scene, const Surface& before, int32_t type, int32_t red_low) {
  std::vector<uint8_t> out = before.bytes;
  const auto& gs = scene.gs;
  int32_t bytes = surface_bytes_per_pixel(type);
  for (int32_t y = 0; y < gs.height; ++y) {
    if (!scene.dirty[y]) continue;
    const uint8_t* src = scene.page.data() + static_cast<size_t>(y) * gs.pitch;
    for (int32_t r = 0; r < gs.scanline_size; ++r) {
      int64_t offset = static_cast<int64_t>(before.first_row) + int64_t{y * gs.scanline_size + r} * before.pitch;
      uint8_t* dst = out.data() + offset;
      if (is_copy(scene, type, red_low)) {
        std::memcpy(dst, src, gs.pitch);
        continue;
      }
      for (int32_t x = 0; x < gs.width; ++x) write_pixel(read_source(scene, src, x), type, red_low, dst + x * bytes);
    }
  }
  return out;
}

std::string first_difference(const std::vector<uint8_t>& expected, const std::vector<uint8_t>& actual,
                             const Surface& surface) {
  for (size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] == actual[i]) continue;
    int64_t stride = surface.pitch < 0 ? -surface.pitch : surface.pitch;
    int64_t row = static_cast<int64_t>(i) / stride;
    if (surface.pitch < 0) row = static_cast<int64_t>(surface.first_row) / stride - row;
    std::ostringstream text;
    text << "byte " << i << " (destination row " << row << ", column byte " << static_cast<int64_t>(i) % stride
         << "): expected 0x" << std::hex << int{expected[i]} << ", got 0x" << int{actual[i]};
    return text.str();
  }
  return "";
}

}  // namespace blit_test
