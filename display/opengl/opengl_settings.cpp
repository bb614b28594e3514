#include "display/opengl/opengl_settings.h"

namespace zv {

namespace {

// Lives for the process: what one open filled in is still there for the next.
OpenGLSettings settings;

}  // namespace

OpenGLSettings& opengl_settings() { return settings; }

}  // namespace zv
