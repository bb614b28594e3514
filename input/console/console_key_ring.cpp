// The console's own key ring: 512 codes with the input records they came from; and plain
// lines of standard input.
#include "input/console/console_input.h"

namespace zv {

ConsoleKeyRing console_key_ring = {};

namespace {

int32_t next_index(int32_t index) { return (index + 1) % CONSOLE_RING_SIZE; }

}  // namespace

void console_post_key(int32_t code, const ConsoleInputRecord& record) {
  ConsoleKeyRing& ring = console_key_ring;
  ring.entries[ring.write_index] = {code, record};
  ring.write_index = next_index(ring.write_index);
  if (ring.write_index == ring.read_index) ring.read_index = next_index(ring.write_index);
  ring.key_arrived = 1;
}

int32_t console_get_key(int32_t whole, int32_t remove) {
  console_pump();
  ConsoleKeyRing& ring = console_key_ring;
  if (ring.read_index == ring.write_index) return -1;
  ConsoleKeyEntry& entry = ring.entries[ring.read_index];
  const int32_t code = entry.code;
  if (remove) ring.key_arrived = 0;
  if (!whole && code >= 256) {
    // Byte-wise reading: 255 now, the key's second character next time.
    if (remove) entry.code = (code >> 8) & 0xFF;
    return 255;
  }
  if (remove) ring.read_index = next_index(ring.read_index);
  return code;
}

int32_t read_line_of_bytes(int32_t (*next_byte)(), char* buffer, int32_t capacity) {
  if (!buffer || capacity <= 0) return -1;
  int32_t length = 0;
  bool got_any = false;
  for (int32_t c = next_byte(); c >= 0; c = next_byte()) {
    got_any = true;
    if (c == '\n') break;
    if (length < capacity - 1) buffer[length++] = static_cast<char>(c);
  }
  if (length > 0 && buffer[length - 1] == '\r') --length;
  buffer[length] = 0;
  return got_any ? length : -1;
}

}  // namespace zv
