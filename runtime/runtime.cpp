// The runtime record, start-up and exit, program end, context slots and error numbers.
#include "runtime/runtime.h"

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/memory.h"

namespace zv {

RuntimeContext runtime;

namespace {

int32_t nesting = 0;

// Round to nearest with the x87 unit at full (64-bit mantissa) precision, so that
// long double arithmetic behaves the same whatever the C runtime set up.
void set_fpu_control() {
  std::fesetround(FE_TONEAREST);
#if defined(__i386__) || defined(__x86_64__)
  uint16_t cw;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  cw = static_cast<uint16_t>((cw & ~0x0F00) | 0x0300);
  __asm__ volatile("fldcw %0" : : "m"(cw));
#endif
}

}  // namespace

void console_reset();  // runtime/console.cpp

void runtime_init() {
  if (nesting++ != 0) return;
  std::memset(&runtime, 0, sizeof runtime);
  set_fpu_control();
  console_reset();
}

void runtime_exit() {
  if (nesting <= 0 || --nesting != 0) return;
  if (runtime.channels_open) {
    runtime.channels_open = 0;
    for (int32_t i = 1; i < 255; ++i) {
      OutputChannel& channel = runtime.channels[i];
      if (channel.close) channel.close(&channel);
    }
    std::memset(runtime.channels, 0, sizeof runtime.channels);
  }
  if (runtime.exit_message) std::fprintf(stderr, "%s", runtime.exit_message);
}

int32_t runtime_nesting() { return nesting; }

void set_args(int32_t count, char** vector, int32_t language_option) {
  runtime.arg_count = count;
  runtime.arg_vector = vector;
  runtime.language_option = language_option;
}

void end_program(int32_t code) { std::exit(code); }

void* context_get(int32_t slot, int32_t size) {
  if (slot < 0 || slot >= CONTEXT_SLOT_COUNT || size <= 0) return nullptr;
  void*& cell = runtime.context_slots[slot];
  if (!cell) cell = platform::mem_calloc(1, static_cast<size_t>(size));
  return cell;
}

int32_t set_error(int32_t number) {
  auto* errors = static_cast<ErrorContext*>(context_get(CONTEXT_SLOT_ERROR, sizeof(ErrorContext)));
  if (errors) errors->last_error = number;
  return number;
}

int32_t get_error() {
  auto* errors = static_cast<ErrorContext*>(context_get(CONTEXT_SLOT_ERROR, sizeof(ErrorContext)));
  return errors ? errors->last_error : 0;
}

}  // namespace zv
