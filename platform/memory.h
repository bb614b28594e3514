// The allocator the whole library takes its memory from: the C runtime's, with a seam
// through which a test makes one chosen allocation fail. Unarmed, the seam costs one
// relaxed load per allocation and changes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace zv::platform {

void* mem_malloc(size_t bytes);
void* mem_calloc(size_t count, size_t size);
void* mem_realloc(void* block, size_t bytes);
// Counts one allocation made another way; false when it must fail.
bool allocation_allowed();

// new (std::nothrow) through the same seam.
template <class T, class... Args>
T* mem_new(Args&&... args) {
  return allocation_allowed() ? new (std::nothrow) T{std::forward<Args>(args)...} : nullptr;
}

// Tests: the k-th allocation from now on fails (k >= 1); 0 disarms. While armed,
// allocation_count tells how many allocations were asked for since arming.
void fail_allocation(int64_t k);
int64_t allocation_count();

}  // namespace zv::platform
