// The process-wide ring of key codes between the display thread and the program.
#include "input/auto_lock_scope.h"
#include "input/keys.h"

namespace zv {

KeyRing key_ring = {};

namespace {

constexpr int32_t RING_MASK = 15;

}  // namespace

// The display thread posts inside its update cycle, which holds the screen lock.
// Without a screen nothing posts, so readers then go without the lock.
void post_key(int32_t code) {
  KeyRing& ring = key_ring;
  ring.codes[ring.write_index & RING_MASK] = code;
  ring.write_index = (ring.write_index + 1) & RING_MASK;
  if (ring.write_index == ring.read_index) ring.read_index = (ring.write_index + 1) & RING_MASK;
  ring.key_arrived = 1;
}

int32_t get_key() {
  AutoLockScope lock(graphics_state());
  KeyRing& ring = key_ring;
  ring.key_arrived = 0;
  if (ring.read_index == ring.write_index) return 0;
  const int32_t code = ring.codes[ring.read_index & RING_MASK];
  ring.read_index = (ring.read_index + 1) & RING_MASK;
  return code;
}

int32_t take_key_arrived() {
  AutoLockScope lock(graphics_state());
  const int32_t arrived = key_ring.key_arrived;
  key_ring.key_arrived = 0;
  return arrived;
}

}  // namespace zv
