#include <cstdarg>

#include "runtime/runtime.h"

namespace zv {

StringDescriptor* char_string(int32_t count, ...) {
  if (count <= 0) return &runtime.empty_string;
  StringDescriptor* result = str_alloc_temp(nullptr, count);
  if (!result) return &runtime.empty_string;
  va_list codes;
  va_start(codes, count);
  for (int32_t i = 0; i < count; ++i) result->data[i] = static_cast<char>(va_arg(codes, int32_t));
  va_end(codes);
  result->data[count] = 0;
  return result;
}

}  // namespace zv
