// Dynamic strings: descriptors, the temporary pool and the release convention.
#pragma once

#include <cstdint>

namespace zv {

// length: low 31 bits are the character count; the top bit marks a temporary
// that owns its buffer and is released by whoever consumes it.
struct StringDescriptor {
  char* data;
  int32_t length;
  int32_t capacity;
};

constexpr int32_t STR_TEMP = INT32_MIN;  // 0x80000000
constexpr int32_t STR_LENGTH_MASK = 0x7FFFFFFF;
constexpr int32_t STR_POOL_SIZE = 256;
// A string argument given with this size is a StringDescriptor*; any other size
// means a plain NUL-terminated byte string (or fixed-length buffer of that size).
constexpr int32_t STR_DESCRIPTOR = -1;

inline int32_t str_length(const StringDescriptor* s) { return s ? (s->length & STR_LENGTH_MASK) : 0; }

// Pool and buffers
StringDescriptor* temp_desc_get();
int32_t temp_desc_put(StringDescriptor* desc);
int32_t temp_desc_in_use();  // number of pool nodes in use
bool is_pool_descriptor(const StringDescriptor* desc);
StringDescriptor* str_alloc_temp(StringDescriptor* desc, int32_t length);
int32_t str_release_temp(StringDescriptor* desc);
void str_free(StringDescriptor* desc);
void str_alloc(StringDescriptor* desc, int32_t length);
bool str_resize(StringDescriptor* desc, int32_t length, bool keep_contents);
void str_copy_terminated(char* destination, const char* source, int32_t count);

// Operations
void* str_assign(void* destination, int32_t destination_size, const void* source, int32_t source_size, int32_t fill);
void* str_assign_init(void* destination, int32_t destination_size, const void* source, int32_t source_size,
                      int32_t fill);
int32_t str_compare(const void* a, int32_t size_a, const void* b, int32_t size_b);
StringDescriptor* str_mid(StringDescriptor* string, int32_t start, int32_t count);
StringDescriptor* command_arg(int32_t index);
StringDescriptor* str_temp_wrap(const char* bytes, int32_t length);
StringDescriptor* str_temp_wrap_cstr(const char* bytes);
void print_string(int32_t channel, StringDescriptor* string, int32_t flags);

}  // namespace zv
