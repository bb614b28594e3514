// A small dialog drawn with Xlib alone.
#pragma once

#include <cstdint>

namespace zv::platform {

constexpr int32_t X11_NO_DISPLAY = -1;

// Shows text (code page 1252, lines split at line feeds) with the caption as the
// window title and the buttons of the style; returns the answer, or X11_NO_DISPLAY
// when no X display can be opened.
int32_t x11_message_box(const char* text, const char* caption, uint32_t style);

}  // namespace zv::platform
