// The pixel format request in GLX's terms: the attribute list and the description as
// lists for glXChooseFBConfig, for windows of TrueColor visuals.
#pragma once

#include <cstdint>

#include "display/opengl/opengl_rules.h"

namespace zv {

// Room for the fixed window requirements and every pair either request can hold.
constexpr int32_t GLX_ATTRIBUTE_CAPACITY = 64;

// The attribute list translated pair by pair. Full acceleration becomes "no caveat";
// the total accumulation size has no GLX name and rests on the channel sizes. False
// when the list asks for samples and the server lacks GLX_ARB_multisample.
bool glx_attributes_from_list(const int32_t* list, bool multisample, int32_t out[GLX_ATTRIBUTE_CAPACITY]);

// The platform chooser's request: the description's nonzero sizes as minimums, or with
// `minimal` only a double-buffered RGBA window, which any OpenGL server offers.
void glx_attributes_from_description(const PixelFormatDescription& description, bool minimal,
                                     int32_t out[GLX_ATTRIBUTE_CAPACITY]);

}  // namespace zv
