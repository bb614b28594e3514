// The key, mouse and sleep operations a graphics screen puts into the runtime hooks.
#pragma once

#include <cstdint>

#include "runtime/strings.h"

namespace zv {

// The oldest key as a string: "" for none, one character for codes 1..255, else
// the two characters 255 and the key's second byte. Any code value is accepted.
StringDescriptor* gfx_key_string();
// Waits for a key, polling every 20 ms through the sleep wrapper; 0 without a screen.
int32_t gfx_wait_key();
int32_t gfx_key_pending();
// -1 while the key with that scancode (0..127) is held, else 0.
int32_t gfx_key_held(int32_t scan_code);
// wheel, buttons and clip may be null. Error 1 with all outputs -1 when the driver cannot tell.
int32_t gfx_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
// -1 keeps a value; the driver interprets the rest.
int32_t gfx_set_mouse(int32_t x, int32_t y, int32_t visibility, int32_t clip);
// Pauses of 100 ms and more wake at the next 50 ms step after a key arrives; -1 waits for a key.
// The pauses themselves go through runtime_sleep_ms, so set_sleep_function replaces them.
void gfx_sleep(int32_t milliseconds);
// The rule under both sleeps: -1 waits for a key (checking first, then in 50 ms steps);
// pauses of 100 ms and more check for a key before each 50 ms step; shorter ones are never
// cut; 0 and other negative values return at once.
void sleep_until_key(int32_t milliseconds, bool (*key_arrived)());

}  // namespace zv
