// Threads, the re-entrant lock, the binary semaphore and the auto-reset event.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "platform/memory.h"
#include "platform/platform.h"

namespace zv::platform {

// Raising a thread's priority needs privileges that a desktop user rarely has on
// Linux, so the request is accepted and the thread runs at the normal priority.
struct Thread {
  std::thread thread;
};

Thread* thread_start(void (*body)(void*), void* argument, bool /*above_normal_priority*/) {
  if (!body) return nullptr;
  auto* handle = mem_new<Thread>();
  if (!handle) return nullptr;
  try {
    handle->thread = std::thread(body, argument);
  } catch (...) {  // std::system_error when the system has no thread left
    delete handle;
    return nullptr;
  }
  return handle;
}

void thread_join(Thread* thread) {
  if (!thread) return;
  if (thread->thread.joinable()) thread->thread.join();
  delete thread;
}

struct RecursiveLock {
  std::recursive_mutex mutex;
};

RecursiveLock* recursive_lock_create() { return mem_new<RecursiveLock>(); }
void recursive_lock_destroy(RecursiveLock* lock) { delete lock; }
void recursive_lock_enter(RecursiveLock* lock) {
  if (lock) lock->mutex.lock();
}
void recursive_lock_leave(RecursiveLock* lock) {
  if (lock) lock->mutex.unlock();
}

// The semaphore and the event are the same thing here: a flag under a mutex. They
// differ only in their maximum (1 for both) and in how they are created.
struct Signal {
  std::mutex mutex;
  std::condition_variable changed;
  bool set = false;

  // The notify stays under the mutex: a waiter that sees the flag may destroy the
  // signal as soon as it returns, so the poster must be done with it by then.
  void post() {
    std::lock_guard<std::mutex> guard(mutex);
    set = true;
    changed.notify_one();
  }
  bool wait(int32_t timeout_ms) {
    std::unique_lock<std::mutex> guard(mutex);
    if (timeout_ms < 0) {
      changed.wait(guard, [this] { return set; });
    } else if (!changed.wait_for(guard, std::chrono::milliseconds(timeout_ms), [this] { return set; })) {
      return false;
    }
    set = false;
    return true;
  }
};

struct Semaphore : Signal {};
struct Event : Signal {};

Semaphore* semaphore_create(int32_t initial) {
  auto* semaphore = mem_new<Semaphore>();
  if (semaphore) semaphore->set = initial > 0;
  return semaphore;
}
void semaphore_destroy(Semaphore* semaphore) { delete semaphore; }
void semaphore_wait(Semaphore* semaphore) {
  if (semaphore) semaphore->wait(-1);
}
void semaphore_post(Semaphore* semaphore) {
  if (semaphore) semaphore->post();
}

Event* event_create() { return mem_new<Event>(); }
void event_destroy(Event* event) { delete event; }
void event_set(Event* event) {
  if (event) event->post();
}
bool event_wait(Event* event, int32_t timeout_ms) { return event && event->wait(timeout_ms); }

}  // namespace zv::platform
