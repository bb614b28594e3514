// The string operations on random arguments: assignment to descriptors and fixed
// buffers from temporaries, wrapped bytes and buffers of any size, substrings and
// comparisons. After each input every temporary must be back in the pool.
#include <cstdint>
#include <vector>

#include "fuzz_input.h"
#include "runtime/runtime.h"
#include "runtime/strings.h"

namespace {

// A source argument: a fixed buffer, a variable's descriptor, a wrapped or an owned temporary.
struct Source {
  std::vector<char> bytes;
  zv::StringDescriptor variable{};
  const void* pointer = nullptr;
  int32_t size = 0;
};

void make_source(fuzz::Input& in, Source* s) {
  s->bytes.resize(in.next(80));
  for (char& c : s->bytes) c = static_cast<char>(in.byte());
  const int32_t length = static_cast<int32_t>(s->bytes.size());
  switch (in.next(4)) {
    case 0:
      s->size = length ? in.small(0, length) : 0;  // 0: up to a zero byte, which the buffer ends with
      if (s->size == 0) s->bytes.push_back(0);
      s->pointer = s->bytes.data();
      break;
    case 1:
      s->variable = zv::StringDescriptor{s->bytes.data(), length, length};
      s->pointer = &s->variable;
      s->size = zv::STR_DESCRIPTOR;
      break;
    case 2:
      s->pointer = zv::str_temp_wrap(s->bytes.data(), length);
      s->size = zv::STR_DESCRIPTOR;
      break;
    default: {
      zv::StringDescriptor* owned = zv::str_alloc_temp(nullptr, length);
      if (owned && length) std::copy(s->bytes.begin(), s->bytes.end(), owned->data);
      s->pointer = owned ? owned : &zv::runtime.empty_string;
      s->size = zv::STR_DESCRIPTOR;
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    zv::runtime_init();
    return true;
  }();
  (void)started;
  fuzz::Input in{data, size};
  zv::StringDescriptor variables[3] = {};
  // Size 0 means "not given": the caller vouches for room, here for the longest source.
  char fixed[96] = {};
  for (int calls = in.small(1, 12); calls > 0 && in.size; --calls) {
    Source source;
    make_source(in, &source);
    switch (in.next(5)) {
      case 0: zv::str_assign(&variables[in.next(3)], zv::STR_DESCRIPTOR, source.pointer, source.size, 0); break;
      case 1: zv::str_assign(fixed, in.small(0, 17), source.pointer, source.size, in.small(0, 1)); break;
      case 2: {
        // Substrings are taken of descriptors only; the result goes into a variable.
        auto* string = source.size == zv::STR_DESCRIPTOR ? static_cast<zv::StringDescriptor*>(const_cast<void*>(source.pointer))
                                                          : zv::str_temp_wrap(source.bytes.data(), 0);
        zv::StringDescriptor* part = zv::str_mid(string, in.next(2) ? in.small(-2, 90) : in.any(),
                                                 in.next(2) ? in.small(-2, 90) : in.any());
        zv::str_assign(&variables[in.next(3)], zv::STR_DESCRIPTOR, part, zv::STR_DESCRIPTOR, 0);
        break;
      }
      case 3: {
        zv::StringDescriptor* other = &variables[in.next(3)];
        zv::str_compare(source.pointer, source.size, other, zv::STR_DESCRIPTOR);
        break;
      }
      default: {
        // A variable assigned from itself, as a statement like a = a does.
        zv::StringDescriptor* v = &variables[in.next(3)];
        zv::str_assign(v, zv::STR_DESCRIPTOR, v, zv::STR_DESCRIPTOR, 0);
        if (source.size == zv::STR_DESCRIPTOR) zv::str_release_temp(static_cast<zv::StringDescriptor*>(const_cast<void*>(source.pointer)));
        break;
      }
    }
  }
  for (auto& v : variables) zv::str_free(&v);
  if (zv::temp_desc_in_use() != 0) __builtin_trap();  // a temporary was not released
  return 0;
}
