// The binary-semaphore mutex that guards a graphics screen's event queue.
#include <new>

#include "platform/platform.h"
#include "runtime/runtime.h"

namespace zv {

struct Mutex {
  platform::Semaphore* semaphore;
};

Mutex* mutex_create() {
  auto* cell = new (std::nothrow) Mutex{platform::semaphore_create(1)};
  if (cell && !cell->semaphore) {
    delete cell;
    return nullptr;
  }
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
