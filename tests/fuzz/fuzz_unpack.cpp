// Feeds arbitrary streams to the packed-data decoder with an output buffer of
// exactly the given capacity, and checks that whatever the encoder makes of
// the same bytes decodes back to them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/text/fonts.h"
#include "tools/fontpack/lzw_encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > (1u << 20)) return 0;
  // The first two bytes choose the capacity, the rest is the stream.
  const int32_t capacity = (data[0] | data[1] << 8) % 20000;
  const uint8_t* stream = data + 2;
  const int32_t stream_size = static_cast<int32_t>(size - 2);

  std::vector<uint8_t> output(static_cast<size_t>(capacity));
  int32_t length = capacity;
  const int32_t result = zv::unpack_data(stream, stream_size, output.data(), &length);
  if ((result != 0 && result != -1) || length < 0 || length > capacity) std::abort();

  const std::vector<uint8_t> packed = fontpack::lzw_encode(stream, static_cast<size_t>(stream_size));
  std::vector<uint8_t> decoded(static_cast<size_t>(stream_size));
  length = stream_size;
  const int32_t round_trip = zv::unpack_data(packed.data(), static_cast<int32_t>(packed.size()), decoded.data(), &length);
  if (stream_size > 0 && (round_trip != 0 || length != stream_size ||
                          !std::equal(decoded.begin(), decoded.end(), stream))) {
    std::abort();
  }
  return 0;
}
