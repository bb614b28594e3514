// The binary-semaphore mutex that guards a graphics screen's event queue.
#include <new>

#include "platform/memory.h"
#include "platform/platform.h"
#include "runtime/runtime.h"

namespace zv {

struct Mutex {
  platform::Semaphore* semaphore;
};

Mutex* mutex_create() {
  platform::Semaphore* semaphore = platform::semaphore_create(1);
  if (!semaphore) return nullptr;
  auto* cell = platform::mem_new<Mutex>(semaphore);
  if (!cell) platform::semaphore_destroy(semaphore);
  return cell;
}

void mutex_destroy(Mutex* m) {
  if (!m) return;
  platform::semaphore_destroy(m->semaphore);
  delete m;
}

void mutex_lock(Mutex* m) {
  if (m) platform::semaphore_wait(m->semaphore);
}

void mutex_unlock(Mutex* m) {
  if (m) platform::semaphore_post(m->semaphore);
}

}  // namespace zv
