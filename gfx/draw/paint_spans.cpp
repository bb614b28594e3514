#include <cstdlib>

#include "gfx/draw/paint.h"
#include "gfx/draw/paint_internal.h"
#include "platform/memory.h"

namespace zv {

namespace {

constexpr int32_t SPANS_PER_CHUNK = 1024;

void* zeroed_allocate(size_t bytes) { return platform::mem_calloc(1, bytes); }
void plain_release(void* block) { std::free(block); }

PaintAllocator allocator{&zeroed_allocate, &plain_release};

}  // namespace

// Spans come from chunks so that a fill of a million runs costs a few hundred allocations.
struct SpanChunk {
  SpanChunk* next;
  int32_t used;
  Span spans[SPANS_PER_CHUNK];
};

void paint_set_allocator(const PaintAllocator* replacement) {
  allocator = replacement ? *replacement : PaintAllocator{&zeroed_allocate, &plain_release};
}

bool buckets_open(const DrawContext* context, SpanBuckets* buckets) {
  *buckets = SpanBuckets{};
  buckets->first_row = context->view_y;
  buckets->row_count = context->view_h;
  buckets->first_column = context->view_x;
  buckets->column_count = context->view_w;
  const size_t pixels = static_cast<size_t>(context->view_w) * static_cast<size_t>(context->view_h);
  buckets->rows = static_cast<Span**>(allocator.allocate(sizeof(Span*) * static_cast<size_t>(context->view_h)));
  buckets->known_starts = static_cast<uint8_t*>(allocator.allocate((pixels + 7) / 8));
  if (buckets->rows && buckets->known_starts) return true;
  buckets_close(buckets);
  return false;
}

void buckets_close(SpanBuckets* buckets) {
  while (buckets->chunks) {
    SpanChunk* next = buckets->chunks->next;
    allocator.release(buckets->chunks);
    buckets->chunks = next;
  }
  if (buckets->rows) allocator.release(buckets->rows);
  if (buckets->known_starts) allocator.release(buckets->known_starts);
  buckets->rows = nullptr;
  buckets->known_starts = nullptr;
}

static Span* new_span(SpanBuckets* buckets) {
  SpanChunk* chunk = buckets->chunks;
  if (!chunk || chunk->used == SPANS_PER_CHUNK) {
    chunk = static_cast<SpanChunk*>(allocator.allocate(sizeof(SpanChunk)));
    if (!chunk) return nullptr;
    chunk->next = buckets->chunks;
    chunk->used = 0;
    buckets->chunks = chunk;
  }
  return &chunk->spans[chunk->used++];
}

Span* scan_span(DrawContext* context, SpanBuckets* buckets, int32_t* x, int32_t row, uint32_t border) {
  const int32_t view_right = context->view_x + context->view_w - 1;
  int32_t left = *x, right = *x;
  while (left > context->view_x && context->get_pixel(context, left - 1, row) != border) --left;
  while (right < view_right && context->get_pixel(context, right + 1, row) != border) ++right;
  *x = right + 1;
  // Runs are maximal, so two runs of a row that start on the same column are the same run.
  const size_t bit = static_cast<size_t>(row - buckets->first_row) * static_cast<size_t>(buckets->column_count) +
                     static_cast<size_t>(left - buckets->first_column);
  uint8_t& known = buckets->known_starts[bit / 8];
  const uint8_t bit_mask = static_cast<uint8_t>(1u << (bit % 8));
  if (known & bit_mask) return nullptr;
  Span* span = new_span(buckets);
  if (!span) {
    buckets->out_of_memory = true;
    return nullptr;
  }
  known |= bit_mask;
  Span*& bucket = buckets->rows[row - buckets->first_row];
  *span = Span{row, left, right, bucket, nullptr};
  bucket = span;
  return span;
}

}  // namespace zv
