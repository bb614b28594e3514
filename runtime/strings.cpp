// String operations: assignment, comparison, substring, the command line and literals.
// Every string argument given as a descriptor is released when the operation is done
// with it, so a temporary handed from one call to the next is freed exactly once.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/memory.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace zv {

namespace {

// A string argument in either form, with its characters and length.
struct StringArg {
  const char* bytes;
  int32_t length;
  StringDescriptor* desc;  // set when the argument was given as a descriptor
};

// strlen, or at most limit bytes when limit is not 0.
int32_t bounded_length(const char* bytes, size_t limit) {
  size_t length = 0;
  if (limit == 0) {
    length = std::strlen(bytes);
  } else {
    const void* end = std::memchr(bytes, 0, limit);
    length = end ? static_cast<size_t>(static_cast<const char*>(end) - bytes) : limit;
  }
  return static_cast<int32_t>(std::min<size_t>(length, STR_LENGTH_MASK));
}

// A plain argument with a size is a fixed-length buffer: its text never runs past it.
StringArg read_arg(const void* string, int32_t size) {
  if (size == STR_DESCRIPTOR) {
    auto* desc = static_cast<StringDescriptor*>(const_cast<void*>(string));
    const bool has_text = desc && desc->data;
    return {has_text ? desc->data : nullptr, has_text ? str_length(desc) : 0, desc};
  }
  const auto* bytes = static_cast<const char*>(string);
  if (!bytes) return {nullptr, 0, nullptr};
  return {bytes, bounded_length(bytes, size > 0 ? static_cast<size_t>(size) : 0), nullptr};
}

void release(const StringArg& arg) {
  if (arg.desc) str_release_temp(arg.desc);
}

StringDescriptor* empty() { return &runtime.empty_string; }

void assign_fixed(char* destination, int32_t size, const StringArg& source, int32_t fill) {
  int32_t copied = 0;
  if (source.length == 0) {
    destination[0] = 0;
  } else {
    copied = size == 0 ? source.length : std::min(source.length, size - 1);
    str_copy_terminated(destination, source.bytes, copied);
  }
  if (fill && size > 0) {
    const int32_t end = source.length == 0 ? size : size - 1;
    if (end > copied) std::memset(destination + copied, 0, static_cast<size_t>(end - copied));
  }
}

void assign_descriptor(StringDescriptor* destination, const StringArg& source, bool initialising) {
  if (source.length == 0) {
    if (initialising) {
      *destination = StringDescriptor{};
    } else {
      str_free(destination);
    }
    return;
  }
  if (source.desc && (source.desc->length & STR_TEMP)) {
    if (source.desc == destination) return;
    if (!initialising) str_free(destination);
    *destination = StringDescriptor{source.desc->data, str_length(source.desc), source.desc->capacity};
    *source.desc = StringDescriptor{};  // its buffer now belongs to the destination
    return;
  }
  // Text that lies in the destination's own buffer would be freed by a resize.
  const char* bytes = source.bytes;
  char* saved = nullptr;
  if (!initialising && destination->data && bytes >= destination->data &&
      bytes <= destination->data + destination->capacity && source.length != str_length(destination)) {
    saved = static_cast<char*>(platform::mem_malloc(static_cast<size_t>(source.length)));
    if (!saved) return;
    std::memcpy(saved, bytes, static_cast<size_t>(source.length));
    bytes = saved;
  }
  if (initialising) {
    str_alloc(destination, source.length);
  } else if (source.length != str_length(destination)) {
    str_resize(destination, source.length, false);
  }
  if (destination->data) str_copy_terminated(destination->data, bytes, source.length);
  std::free(saved);
}

void* assign(void* destination, int32_t destination_size, const void* source, int32_t source_size, int32_t fill,
             bool initialising) {
  const StringArg arg = read_arg(source, source_size);
  if (destination && destination_size == STR_DESCRIPTOR) {
    assign_descriptor(static_cast<StringDescriptor*>(destination), arg, initialising);
  } else if (destination && destination_size >= 0) {
    assign_fixed(static_cast<char*>(destination), destination_size, arg, fill);
  } else if (destination) {
    set_error(ERR_ILLEGAL_CALL);  // a size below -1 names no kind of destination
  }
  if (arg.desc != destination) release(arg);
  return destination;
}

}  // namespace

void* str_assign(void* destination, int32_t destination_size, const void* source, int32_t source_size,
                 int32_t fill) {
  return assign(destination, destination_size, source, source_size, fill, false);
}

void* str_assign_init(void* destination, int32_t destination_size, const void* source, int32_t source_size,
                      int32_t fill) {
  return assign(destination, destination_size, source, source_size, fill, true);
}

int32_t str_compare(const void* a, int32_t size_a, const void* b, int32_t size_b) {
  const StringArg left = read_arg(a, size_a);
  const StringArg right = read_arg(b, size_b);
  int32_t result = 0;
  if (!a || !b) {
    if (a) result = left.length > 0 ? 1 : 0;
    if (b) result = right.length > 0 ? -1 : 0;
  } else {
    const int32_t common = std::min(left.length, right.length);
    const int order = common > 0 ? std::memcmp(left.bytes, right.bytes, static_cast<size_t>(common)) : 0;
    if (order != 0) {
      result = order > 0 ? 1 : -1;
    } else if (left.length != right.length) {
      result = left.length > right.length ? 1 : -1;
    }
  }
  release(left);
  if (right.desc != left.desc) release(right);
  return result;
}

StringDescriptor* str_mid(StringDescriptor* string, int32_t start, int32_t count) {
  const int32_t length = string && string->data ? str_length(string) : 0;
  if (length == 0 || start < 1 || start > length || count == 0) {
    str_release_temp(string);
    return empty();
  }
  if (count < 0 || static_cast<int64_t>(start) + count - 1 > length) count = length - start + 1;
  StringDescriptor* result = str_alloc_temp(nullptr, count);
  if (result) str_copy_terminated(result->data, string->data + start - 1, count);
  str_release_temp(string);
  return result ? result : empty();
}

StringDescriptor* command_arg(int32_t index) {
  const int32_t count = runtime.arg_count;
  char** vector = runtime.arg_vector;
  if (!vector || count <= 0 || index >= count) return empty();
  auto argument = [vector](int32_t i) -> const char* { return vector[i] ? vector[i] : ""; };
  const int32_t first = index < 0 ? 1 : index;
  const int32_t last = index < 0 ? count - 1 : index;
  int64_t total = last - first;  // the blanks between arguments
  for (int32_t i = first; i <= last; ++i) total += static_cast<int64_t>(std::strlen(argument(i)));
  if (total <= 0 || total >= STR_LENGTH_MASK) return empty();
  StringDescriptor* result = str_alloc_temp(nullptr, static_cast<int32_t>(total));
  if (!result) return empty();
  char* out = result->data;
  for (int32_t i = first; i <= last; ++i) {
    const size_t n = std::strlen(argument(i));
    std::memcpy(out, argument(i), n);
    out += n;
    if (i < last) *out++ = ' ';
  }
  *out = 0;
  return result;
}

StringDescriptor* str_temp_wrap(const char* bytes, int32_t length) {
  if (length < 0 || (!bytes && length > 0)) return empty();
  StringDescriptor* desc = temp_desc_get();
  if (!desc) return empty();
  *desc = StringDescriptor{const_cast<char*>(bytes), length, length};
  return desc;
}

StringDescriptor* str_temp_wrap_cstr(const char* bytes) {
  return str_temp_wrap(bytes, bytes ? bounded_length(bytes, 0) : 0);
}

}  // namespace zv
