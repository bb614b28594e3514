// Image creation and destruction, and the record of the blocks image_create made.
#include "gfx/image/image.h"

#include <cstdlib>
#include <cstring>

#include "gfx/core/byte_kernels.h"
#include "gfx/core/draw_context.h"
#include "gfx/core/graphics_state.h"
#include "platform/memory.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

// Blocks made by image_create and their sizes, so that a header overwritten later
// cannot make PUT or drawing reach past the block.
struct BlockRecord {
  const ImageBuffer* image;
  size_t size;
};
BlockRecord* blocks = nullptr;
size_t block_count = 0;
size_t block_capacity = 0;

bool remember_block(const ImageBuffer* image, size_t size) {
  if (block_count == block_capacity) {
    size_t capacity = block_capacity ? block_capacity * 2 : 16;
    void* grown = platform::mem_realloc(blocks, capacity * sizeof(BlockRecord));
    if (!grown) return false;
    blocks = static_cast<BlockRecord*>(grown);
    block_capacity = capacity;
  }
  blocks[block_count++] = {image, size};
  return true;
}

void forget_block(const ImageBuffer* image) {
  for (size_t i = 0; i < block_count; ++i) {
    if (blocks[i].image == image) {
      blocks[i] = blocks[--block_count];
      return;
    }
  }
}

constexpr uint32_t DEFAULT_FILL[5] = {0, 0, 0xF81F, 0, 0xFFFF00FFu};  // by bytes per pixel

uint32_t fill_pattern(int32_t bytes_per_pixel, uint32_t colour) {
  if (bytes_per_pixel == 1) return (colour & 0xFF) * 0x01010101u;
  if (bytes_per_pixel == 2) return (colour & 0xFFFF) * 0x00010001u;
  return colour;
}

uint32_t rgb_to_565_packed(uint32_t c) { return (c & 0xF80000) >> 8 | (c & 0xFC00) >> 5 | (c & 0xF8) >> 3; }

}  // namespace

size_t image_block_size(const ImageBuffer* image) {
  for (size_t i = 0; i < block_count; ++i)
    if (blocks[i].image == image) return blocks[i].size;
  return 0;
}

bool image_geometry(const ImageBuffer* image, int32_t fallback_bytes_per_pixel, ImageGeometry* out) {
  if (!image) return false;
  size_t block = image_block_size(image);
  uint8_t head[4];
  std::memcpy(head, image, 4);
  auto* base = reinterpret_cast<uint8_t*>(const_cast<ImageBuffer*>(image));
  ImageGeometry g;
  if (image->type == IMAGE_TYPE_CURRENT && (block == 0 || block >= IMAGE_HEADER_SIZE)) {
    g = {image->bytes_per_pixel, image->width, image->height, image->pitch, IMAGE_HEADER_SIZE, nullptr};
  } else {
    int32_t bpp = head[0] & 7;
    int32_t width = head[0] >> 3 | head[1] << 5;
    g = {bpp ? bpp : fallback_bytes_per_pixel, width, head[2] | head[3] << 8, 0, IMAGE_SHORT_HEADER_SIZE, nullptr};
    g.pitch = g.width * g.bytes_per_pixel;
  }
  if (g.bytes_per_pixel != 1 && g.bytes_per_pixel != 2 && g.bytes_per_pixel != 4) return false;
  if (g.width < 1 || g.height < 1) return false;
  int64_t row_bytes = int64_t{g.width} * g.bytes_per_pixel;
  if (g.pitch < row_bytes) return false;
  if (block) {
    uint64_t needed = uint64_t(g.header_size) + uint64_t(g.height - 1) * uint64_t(g.pitch) + uint64_t(row_bytes);
    if (needed > block) return false;
  }
  g.pixels = base + g.header_size;
  *out = g;
  return true;
}

ImageBuffer* image_create(int32_t width, int32_t height, uint32_t colour, int32_t depth, int32_t colour_flag) {
  DrawContext* context = get_draw_context();
  const GraphicsState* gs = current_screen;
  if (!context || !gs || width < 1 || height < 1 || depth > 32) return nullptr;
  int32_t bpp = depth <= 0 ? gs->bytes_per_pixel : (depth + 7) / 8;
  if (bpp == 3) return nullptr;
  uint32_t fill = colour_flag < 0 ? DEFAULT_FILL[bpp] : bpp == 2 ? rgb_to_565_packed(colour) : colour;

  // The runtime's compatibility dialect asks for the short header.
  bool short_header = runtime.language_option != 0;
  int64_t row_bytes = int64_t{width} * bpp;
  int64_t pitch = short_header ? row_bytes : (row_bytes + 15) & ~int64_t{15};
  int32_t header_size = short_header ? IMAGE_SHORT_HEADER_SIZE : IMAGE_HEADER_SIZE;
  if (short_header && (width > 8191 || height > 65535)) return nullptr;
  if (pitch > INT32_MAX) return nullptr;
  uint64_t total = uint64_t(header_size) + uint64_t(height) * uint64_t(pitch);
  if (total > uint64_t{PTRDIFF_MAX}) return nullptr;

  auto* block = static_cast<uint8_t*>(platform::mem_malloc(static_cast<size_t>(total)));
  if (!block) return nullptr;
  auto* image = reinterpret_cast<ImageBuffer*>(block);
  if (!remember_block(image, static_cast<size_t>(total))) {
    std::free(block);
    return nullptr;
  }
  if (short_header) {
    block[0] = static_cast<uint8_t>((bpp & 7) | width << 3);
    block[1] = static_cast<uint8_t>(width >> 5);
    block[2] = static_cast<uint8_t>(height);
    block[3] = static_cast<uint8_t>(height >> 8);
  } else {
    std::memset(block, 0, IMAGE_HEADER_SIZE);
    *image = {IMAGE_TYPE_CURRENT, bpp, width, height, static_cast<int32_t>(pitch), 0, {}};
  }
  byte_kernels(simd_level()).fill(block + header_size, fill_pattern(bpp, fill), static_cast<size_t>(total) - header_size);
  select_target(context, image);
  select_pixel_ops(context, 0xFF000000u);
  return image;
}

void image_destroy(ImageBuffer* image) {
  if (!image) return;
  forget_block(image);
  auto* context = static_cast<DrawContext*>(context_get(CONTEXT_SLOT_DRAW, sizeof(DrawContext)));
  if (context && context->target == image) {
    // A later image at the same address must not pass for this one.
    if (current_screen && context->screen_id == current_screen->id) {
      select_target(context, nullptr);
    } else {
      context->target = nullptr;
      context->flags = (context->flags & ~DC_TARGET_IMAGE) | DC_ROWS_STALE;
    }
  }
  std::free(image);
}

}  // namespace zv
