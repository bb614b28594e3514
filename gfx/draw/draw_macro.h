// DRAW: a string of single-letter commands that moves a pen over the screen or an image.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {

struct ImageBuffer;

// Runs commands on target (null = the screen) and releases commands if it is a temporary.
// Scale and rotation persist across calls; the pen is the context's last point.
void draw_macro(ImageBuffer* target, StringDescriptor* commands);

// Reading position in a command string; the text ends at `end` or at a zero byte.
struct MacroCursor {
  const char* at;
  const char* end;
};

// Returned by parse_macro_number when no digits follow.
constexpr int32_t MACRO_NO_NUMBER = INT32_MIN;

// Reads [spaces] [-] [+] [spaces] digits, wrapping around in 32 bits.
int32_t parse_macro_number(MacroCursor* cursor);

// The X command runs a string by number. Only strings registered here can be run, so a
// number inside a command string never becomes an address. The descriptor stays the
// caller's (it must not be a temporary) and is read each time X runs it.
// Returns 0 with *number set (1 and up; the same number for a descriptor registered twice),
// or error 1 for a temporary or when the table is full.
int32_t draw_macro_register(StringDescriptor* commands, int32_t* number);
// Error 1 for a number that is not registered.
int32_t draw_macro_unregister(int32_t number);
// The registered descriptor, or null.
const StringDescriptor* draw_macro_registered(int32_t number);

constexpr int32_t MACRO_STRING_SLOTS = 32;
// X nesting: deeper calls, or more nested calls than the budget within one DRAW, end the
// call that asks for them, as a missing number does.
constexpr int32_t MACRO_MAX_DEPTH = 8;
constexpr int32_t MACRO_NESTED_CALL_BUDGET = 64;

}  // namespace zv
