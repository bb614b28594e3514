// zvgfx: the graphics library and runtime, in one include.
#pragma once

#include "runtime/runtime.h"
#include "runtime/strings.h"
#include "display/driver.h"
#include "display/blit/blit.h"
#include "display/host/window_host.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/draw_context.h"
#include "gfx/image/image_buffer.h"
#include "gfx/text/fonts.h"
#include "input/keys.h"
#include "input/input_hooks.h"
