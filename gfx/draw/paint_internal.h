// Setting up and releasing the span store of one fill.
#pragma once

#include "gfx/draw/paint.h"

namespace zv {

// Sized for the context's view; false (with nothing left allocated) when memory is short.
bool buckets_open(const DrawContext* context, SpanBuckets* buckets);
// Releases the spans and the lists.
void buckets_close(SpanBuckets* buckets);

}  // namespace zv
