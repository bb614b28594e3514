// The pool of temporary string descriptors and the buffer rules every string shares.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/memory.h"
#include "runtime/strings.h"

namespace zv {

namespace {

struct PoolNode {
  PoolNode* previous;
  PoolNode* next;
  StringDescriptor desc;
  bool in_use;  // guards the lists against a descriptor given back twice
};

struct PoolList {
  int32_t in_use;
  PoolNode* first;  // nodes in use, most recent first
  PoolNode* last;
  PoolNode* free_head;
};

PoolNode nodes[STR_POOL_SIZE];
PoolList pool;

PoolNode* node_of(const StringDescriptor* desc) {
  const auto address = reinterpret_cast<uintptr_t>(desc);
  const auto begin = reinterpret_cast<uintptr_t>(&nodes[0]);
  if (address < begin || address >= begin + sizeof nodes) return nullptr;
  const uintptr_t offset = address - begin;
  if (offset % sizeof(PoolNode) != offsetof(PoolNode, desc)) return nullptr;
  return &nodes[offset / sizeof(PoolNode)];
}

void rebuild_free_list() {
  for (int32_t i = 0; i < STR_POOL_SIZE; ++i) nodes[i].next = i + 1 < STR_POOL_SIZE ? &nodes[i + 1] : nullptr;
  pool = PoolList{0, nullptr, nullptr, &nodes[0]};
}

// r = length rounded up to 32, plus an eighth: 36 for 1..32 characters, 72 for 33..64.
int64_t growth_capacity(int32_t length) {
  const int64_t rounded = (static_cast<int64_t>(length) + 31) & ~int64_t{31};
  return rounded + rounded / 8;
}

// Allocates (or grows, keeping contents) to wanted characters, else to exactly length.
// Returns the new buffer and its capacity, or null.
char* obtain_buffer(char* old, int64_t wanted, int32_t length, int32_t* capacity) {
  if (wanted < STR_LENGTH_MASK) {
    if (char* buffer = static_cast<char*>(platform::mem_realloc(old, static_cast<size_t>(wanted) + 1))) {
      *capacity = static_cast<int32_t>(wanted);
      return buffer;
    }
  }
  if (char* buffer = static_cast<char*>(platform::mem_realloc(old, static_cast<size_t>(length) + 1))) {
    *capacity = length;
    return buffer;
  }
  return nullptr;
}

}  // namespace

StringDescriptor* temp_desc_get() {
  if (pool.in_use == 0) rebuild_free_list();
  PoolNode* node = pool.free_head;
  if (!node) return nullptr;
  pool.free_head = node->next;
  node->previous = nullptr;
  node->next = pool.first;
  if (pool.first) {
    pool.first->previous = node;
  } else {
    pool.last = node;
  }
  pool.first = node;
  ++pool.in_use;
  node->in_use = true;
  node->desc = StringDescriptor{};
  return &node->desc;
}

int32_t temp_desc_put(StringDescriptor* desc) {
  PoolNode* node = node_of(desc);
  if (!node || !node->in_use) return -1;
  (node->previous ? node->previous->next : pool.first) = node->next;
  (node->next ? node->next->previous : pool.last) = node->previous;
  node->desc = StringDescriptor{};
  node->in_use = false;
  node->previous = nullptr;
  node->next = pool.free_head;
  pool.free_head = node;
  --pool.in_use;
  return 0;
}

int32_t temp_desc_in_use() { return pool.in_use; }

bool is_pool_descriptor(const StringDescriptor* desc) { return node_of(desc) != nullptr; }

StringDescriptor* str_alloc_temp(StringDescriptor* desc, int32_t length) {
  if (length < 0) return nullptr;
  const bool taken_here = desc == nullptr;
  if (taken_here && !(desc = temp_desc_get())) return nullptr;
  if (!str_resize(desc, length, false)) {
    if (taken_here) temp_desc_put(desc);
    return nullptr;
  }
  desc->length |= STR_TEMP;
  return desc;
}

int32_t str_release_temp(StringDescriptor* desc) {
  if (!desc) return -1;
  if (desc->length & STR_TEMP) str_free(desc);
  return temp_desc_put(desc);
}

void str_free(StringDescriptor* desc) {
  if (!desc) return;
  std::free(desc->data);
  *desc = StringDescriptor{};
}

void str_alloc(StringDescriptor* desc, int32_t length) {
  if (!desc) return;
  *desc = StringDescriptor{};
  if (length < 0) return;
  const int64_t rounded = (static_cast<int64_t>(length) + 31) & ~int64_t{31};
  int32_t capacity = 0;
  char* buffer = obtain_buffer(nullptr, rounded, length, &capacity);
  if (!buffer) return;
  buffer[length] = 0;
  *desc = StringDescriptor{buffer, length, capacity};
}

bool str_resize(StringDescriptor* desc, int32_t length, bool keep_contents) {
  if (!desc || length < 0) return false;
  const int64_t wanted = growth_capacity(length);
  const bool fits = desc->data && desc->capacity >= length && desc->capacity - desc->capacity / 8 <= wanted;
  if (!fits) {
    if (!keep_contents) str_free(desc);
    int32_t capacity = 0;
    char* buffer = obtain_buffer(desc->data, wanted, length, &capacity);
    if (!buffer) return false;  // a kept buffer stays as it was; a freed one leaves all fields 0
    desc->data = buffer;
    desc->capacity = capacity;
  }
  desc->length = (desc->length & STR_TEMP) | length;
  desc->data[length] = 0;
  return true;
}

void str_copy_terminated(char* destination, const char* source, int32_t count) {
  if (!destination) return;
  if (!source || count < 0) count = 0;
  if (count > 0) std::memmove(destination, source, static_cast<size_t>(count));
  destination[count] = 0;
}

}  // namespace zv
