#include <gtest/gtest.h>

#include <atomic>

#include "platform/platform.h"

using namespace zv::platform;

namespace {

struct Handoff {
  Semaphore* semaphore;
  Event* event;
  std::atomic<int32_t> value{0};
};

void post_both(void* argument) {
  auto* handoff = static_cast<Handoff*>(argument);
  handoff->value = 42;
  semaphore_post(handoff->semaphore);
  event_set(handoff->event);
}

struct Counter {
  RecursiveLock* lock;
  int32_t count = 0;
};

void count_under_lock(void* argument) {
  auto* counter = static_cast<Counter*>(argument);
  for (int i = 0; i < 10000; ++i) {
    recursive_lock_enter(counter->lock);
    recursive_lock_enter(counter->lock);  // re-entrant
    ++counter->count;
    recursive_lock_leave(counter->lock);
    recursive_lock_leave(counter->lock);
  }
}

}  // namespace

TEST(PlatformSync, ThreadsHandOffThroughSemaphoreAndEvent) {
  Handoff handoff{semaphore_create(0), event_create()};
  ASSERT_NE(handoff.semaphore, nullptr);
  ASSERT_NE(handoff.event, nullptr);
  Thread* thread = thread_start(post_both, &handoff, true);
  ASSERT_NE(thread, nullptr);
  semaphore_wait(handoff.semaphore);
  EXPECT_TRUE(event_wait(handoff.event, -1));
  EXPECT_EQ(handoff.value, 42);
  thread_join(thread);
  semaphore_destroy(handoff.semaphore);
  event_destroy(handoff.event);
}

TEST(PlatformSync, EventResetsItselfAndSemaphoreHoldsOne) {
  Event* event = event_create();
  EXPECT_FALSE(event_wait(event, 0));
  event_set(event);
  event_set(event);  // setting twice still wakes once
  EXPECT_TRUE(event_wait(event, 0));
  EXPECT_FALSE(event_wait(event, 1));
  event_destroy(event);

  Semaphore* semaphore = semaphore_create(1);
  semaphore_wait(semaphore);
  semaphore_post(semaphore);
  semaphore_post(semaphore);  // beyond the maximum of one: no second count
  semaphore_wait(semaphore);
  semaphore_destroy(semaphore);
}

TEST(PlatformSync, RecursiveLockSerialisesTwoThreads) {
  Counter counter{recursive_lock_create()};
  ASSERT_NE(counter.lock, nullptr);
  Thread* other = thread_start(count_under_lock, &counter, false);
  count_under_lock(&counter);
  thread_join(other);
  EXPECT_EQ(counter.count, 20000);
  recursive_lock_destroy(counter.lock);
}

TEST(PlatformSync, NullHandlesAreIgnored) {
  EXPECT_EQ(thread_start(nullptr, nullptr, false), nullptr);
  thread_join(nullptr);
  recursive_lock_enter(nullptr);
  recursive_lock_leave(nullptr);
  recursive_lock_destroy(nullptr);
  semaphore_wait(nullptr);
  semaphore_post(nullptr);
  semaphore_destroy(nullptr);
  event_set(nullptr);
  EXPECT_FALSE(event_wait(nullptr, -1));
  event_destroy(nullptr);
}

namespace {

// The poster keeps running after its post; the waiter frees the object the moment its
// wait returns, as the window host does with its start event.
struct Freed {
  Event* event;
  Semaphore* semaphore;
};

void post_then_linger(void* argument) {
  auto* freed = static_cast<Freed*>(argument);
  if (freed->event) event_set(freed->event);
  if (freed->semaphore) semaphore_post(freed->semaphore);
  sleep_ms(1);
}

}  // namespace

TEST(PlatformSync, WaiterMayDestroyTheObjectAsSoonAsItsWaitReturns) {
  for (int round = 0; round < 200; ++round) {
    Freed freed{round % 2 ? event_create() : nullptr, round % 2 ? nullptr : semaphore_create(0)};
    Thread* thread = thread_start(post_then_linger, &freed, false);
    ASSERT_NE(thread, nullptr);
    if (freed.event) {
      EXPECT_TRUE(event_wait(freed.event, -1));
      event_destroy(freed.event);
    } else {
      semaphore_wait(freed.semaphore);
      semaphore_destroy(freed.semaphore);
    }
    thread_join(thread);
  }
}
