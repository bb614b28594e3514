// The thin operating-system layer. Nothing outside platform/ calls the OS.
#pragma once

#include <cstdint>

namespace zv::platform {

void sleep_ms(int32_t milliseconds);
// Performance counter: false when the system has none.
bool perf_frequency(int64_t* frequency);
int64_t perf_counter();
uint32_t tick_count();  // milliseconds, wraps after 2^32

// Threads
struct Thread;
Thread* thread_start(void (*body)(void*), void* argument, bool above_normal_priority);
void thread_join(Thread* thread);  // waits and frees

// A re-entrant lock
struct RecursiveLock;
RecursiveLock* recursive_lock_create();
void recursive_lock_destroy(RecursiveLock* lock);
void recursive_lock_enter(RecursiveLock* lock);
void recursive_lock_leave(RecursiveLock* lock);

// A binary semaphore (initial count given, maximum 1)
struct Semaphore;
Semaphore* semaphore_create(int32_t initial);
void semaphore_destroy(Semaphore* semaphore);
void semaphore_wait(Semaphore* semaphore);
void semaphore_post(Semaphore* semaphore);

// An auto-reset event
struct Event;
Event* event_create();
void event_destroy(Event* event);
void event_set(Event* event);
bool event_wait(Event* event, int32_t timeout_ms);  // false on time-out; -1 waits forever

// Optional functions in libraries, looked up by name
struct Library;
Library* library_open(const char* name);
void* library_symbol(Library* library, const char* name);
void library_close(Library* library);

// The running program's file path (as the OS gives it) into buffer; returns its length.
int32_t module_path(char* buffer, int32_t size);
const char* get_env(const char* name);  // null when unset

// Message box results and styles, with the Windows values.
constexpr int32_t IDOK = 1;
constexpr int32_t IDYES = 6;
constexpr int32_t IDNO = 7;
constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_YESNO = 0x4;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;

// Text in the system's ANSI code page (1252). Returns the pressed button, 0 on failure.
int32_t message_box(const char* text, const char* caption, uint32_t style);
// Tests replace the message box; null restores the real one.
using MessageBoxFn = int32_t (*)(const char* text, const char* caption, uint32_t style);
void set_message_box(MessageBoxFn replacement);

// A short tone (Beep on Windows; the terminal bell elsewhere).
void beep(int32_t frequency, int32_t duration_ms);

// The unshifted character of a virtual key (letters in upper case), 0 when it has none;
// the top bit is set for a dead key.
uint32_t virtual_key_char(uint32_t vk);

}  // namespace zv::platform
