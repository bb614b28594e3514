// Port emulation: palette entries are written and read one 6-bit component at a time,
// red first; the index moves on after each third component.
#include "gfx/core/ports.h"

#include "display/driver.h"
#include "gfx/core/graphics_state.h"
#include "gfx/core/palette.h"
#include "gfx/text/fonts.h"
#include "runtime/runtime.h"

namespace zv {

namespace {

constexpr int32_t PORT_PALETTE_READ_INDEX = 967;
constexpr int32_t PORT_PALETTE_WRITE_INDEX = 968;
constexpr int32_t PORT_PALETTE_DATA = 969;
constexpr int32_t PORT_DISPLAY_STATUS = 986;
constexpr int32_t FIRST_SHIFT = 2;  // red: bits 2-7 of the accumulated colour
constexpr int32_t LAST_SHIFT = 18;  // blue

int32_t palette_index = 0;
uint32_t accumulator = 0;
int32_t component_shift = FIRST_SHIFT;

bool has_palette(const GraphicsState* gs) { return gs && gs->depth <= 8; }

int32_t palette_mask(const GraphicsState* gs) {
  return (gs->default_palette ? gs->default_palette->count : 256) - 1;
}

void next_component(const GraphicsState* gs) {
  component_shift += 8;
  if (component_shift > LAST_SHIFT) {
    component_shift = FIRST_SHIFT;
    palette_index = (palette_index + 1) & palette_mask(gs);
  }
}

}  // namespace

int32_t graphics_port_out(int32_t port, int32_t value) {
  const GraphicsState* gs = current_screen;
  if (!has_palette(gs)) return 0;
  if (port == PORT_PALETTE_READ_INDEX || port == PORT_PALETTE_WRITE_INDEX) {
    palette_index = value & palette_mask(gs);
    accumulator = 0;
    component_shift = FIRST_SHIFT;
  } else if (port == PORT_PALETTE_DATA) {
    accumulator |= static_cast<uint32_t>(value & 63) << component_shift;
    if (component_shift == LAST_SHIFT) {
      palette_statement(palette_index, accumulator & 0xFF, (accumulator >> 8) & 0xFF, (accumulator >> 16) & 0xFF);
      accumulator = 0;
    }
    next_component(gs);
  }
  return 0;
}

int32_t graphics_port_in(int32_t port) {
  const GraphicsState* gs = current_screen;
  if (!gs) return -1;
  if (port == PORT_DISPLAY_STATUS) {
    if (gs->driver && gs->driver->wait_vblank) gs->driver->wait_vblank();
    return 8;
  }
  if (port == PORT_PALETTE_DATA && has_palette(gs)) {
    uint32_t colour = gs->device_palette[palette_index];
    int32_t component = static_cast<int32_t>((colour >> (component_shift - FIRST_SHIFT)) & 0xFF) >> 2;
    next_component(gs);
    return component;
  }
  return -1;
}

int32_t port_in(int32_t port) {
  auto hook = runtime.hooks.port_in;
  return hook ? hook(port) : -1;
}

int32_t port_out(int32_t port, int32_t value) {
  auto hook = runtime.hooks.port_out;
  return hook ? hook(port, value) : 0;
}

}  // namespace zv
