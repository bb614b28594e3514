#include "platform/memory.h"

#include <atomic>
#include <cstdlib>

namespace zv::platform {

namespace {

std::atomic<int64_t> failing_at{0};  // 0: unarmed
std::atomic<int64_t> counted{0};

}  // namespace

bool allocation_allowed() {
  const int64_t k = failing_at.load(std::memory_order_relaxed);
  if (k == 0) return true;
  return counted.fetch_add(1, std::memory_order_relaxed) + 1 != k;
}

void* mem_malloc(size_t bytes) { return allocation_allowed() ? std::malloc(bytes) : nullptr; }
void* mem_calloc(size_t count, size_t size) { return allocation_allowed() ? std::calloc(count, size) : nullptr; }
void* mem_realloc(void* block, size_t bytes) { return allocation_allowed() ? std::realloc(block, bytes) : nullptr; }

void fail_allocation(int64_t k) {
  counted.store(0, std::memory_order_relaxed);
  failing_at.store(k > 0 ? k : 0, std::memory_order_relaxed);
}

int64_t allocation_count() { return counted.load(std::memory_order_relaxed); }

}  // namespace zv::platform
