// Threads, the re-entrant lock, the binary semaphore and the auto-reset event.
#include <new>

#include "platform/memory.h"
#include "platform/platform.h"

// After our headers: windows.h defines IDOK and MB_* as macros.
#include <windows.h>

namespace zv::platform {

struct Thread {
  HANDLE handle;
  void (*body)(void*);
  void* argument;
};

namespace {
DWORD WINAPI thread_entry(LPVOID parameter) {
  auto* thread = static_cast<Thread*>(parameter);
  thread->body(thread->argument);
  return 0;
}
}  // namespace

Thread* thread_start(void (*body)(void*), void* argument, bool above_normal_priority) {
  if (!body) return nullptr;
  auto* thread = mem_new<Thread>(nullptr, body, argument);
  if (!thread) return nullptr;
  // Created suspended so that the priority holds from the body's first instruction.
  thread->handle = CreateThread(nullptr, 0, thread_entry, thread, CREATE_SUSPENDED, nullptr);
  if (!thread->handle) {
    delete thread;
    return nullptr;
  }
  if (above_normal_priority) SetThreadPriority(thread->handle, THREAD_PRIORITY_ABOVE_NORMAL);
  ResumeThread(thread->handle);
  return thread;
}

void thread_join(Thread* thread) {
  if (!thread) return;
  WaitForSingleObject(thread->handle, INFINITE);
  CloseHandle(thread->handle);
  delete thread;
}

struct RecursiveLock {
  CRITICAL_SECTION section;
};

RecursiveLock* recursive_lock_create() {
  auto* lock = mem_new<RecursiveLock>();
  if (lock) InitializeCriticalSection(&lock->section);
  return lock;
}

void recursive_lock_destroy(RecursiveLock* lock) {
  if (!lock) return;
  DeleteCriticalSection(&lock->section);
  delete lock;
}

void recursive_lock_enter(RecursiveLock* lock) {
  if (lock) EnterCriticalSection(&lock->section);
}

void recursive_lock_leave(RecursiveLock* lock) {
  if (lock) LeaveCriticalSection(&lock->section);
}

// Both are plain kernel handles behind a type of their own.
struct Semaphore {
  HANDLE handle;
};
struct Event {
  HANDLE handle;
};

template <class Waitable>
Waitable* wrap_handle(HANDLE handle) {
  if (!handle) return nullptr;
  auto* object = mem_new<Waitable>(handle);
  if (!object) CloseHandle(handle);
  return object;
}

template <class Waitable>
void close_handle(Waitable* object) {
  if (!object) return;
  CloseHandle(object->handle);
  delete object;
}

Semaphore* semaphore_create(int32_t initial) {
  return wrap_handle<Semaphore>(CreateSemaphoreA(nullptr, initial > 0 ? 1 : 0, 1, nullptr));
}
void semaphore_destroy(Semaphore* semaphore) { close_handle(semaphore); }
void semaphore_wait(Semaphore* semaphore) {
  if (semaphore) WaitForSingleObject(semaphore->handle, INFINITE);
}
void semaphore_post(Semaphore* semaphore) {
  if (semaphore) ReleaseSemaphore(semaphore->handle, 1, nullptr);
}

Event* event_create() { return wrap_handle<Event>(CreateEventA(nullptr, FALSE, FALSE, nullptr)); }
void event_destroy(Event* event) { close_handle(event); }
void event_set(Event* event) {
  if (event) SetEvent(event->handle);
}
bool event_wait(Event* event, int32_t timeout_ms) {
  if (!event) return false;
  DWORD timeout = timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms);
  return WaitForSingleObject(event->handle, timeout) == WAIT_OBJECT_0;
}

}  // namespace zv::platform
