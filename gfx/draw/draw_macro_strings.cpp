#include "gfx/draw/draw_macro.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

StringDescriptor* registered[MACRO_STRING_SLOTS];

}  // namespace

int32_t draw_macro_register(StringDescriptor* commands, int32_t* number) {
  // A temporary is released by whoever consumes it, so it cannot stay registered.
  if (!commands || !number || (commands->length & STR_TEMP) || is_pool_descriptor(commands)) return set_error(1);
  int32_t free_slot = -1;
  for (int32_t i = 0; i < MACRO_STRING_SLOTS; ++i) {
    if (registered[i] == commands) {
      *number = i + 1;
      return set_error(0);
    }
    if (!registered[i] && free_slot < 0) free_slot = i;
  }
  if (free_slot < 0) return set_error(1);
  registered[free_slot] = commands;
  *number = free_slot + 1;
  return set_error(0);
}

int32_t draw_macro_unregister(int32_t number) {
  if (number < 1 || number > MACRO_STRING_SLOTS || !registered[number - 1]) return set_error(1);
  registered[number - 1] = nullptr;
  return set_error(0);
}

const StringDescriptor* draw_macro_registered(int32_t number) {
  if (number < 1 || number > MACRO_STRING_SLOTS) return nullptr;
  return registered[number - 1];
}

}  // namespace zv
