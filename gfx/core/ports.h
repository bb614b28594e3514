// The emulated hardware ports: palette index (967, 968), palette data (969) and display status (986).
#pragma once

#include <cstdint>

namespace zv {

// Through the runtime's hooks: -1 / nothing while no graphics screen is open.
int32_t port_in(int32_t port);
int32_t port_out(int32_t port, int32_t value);

// The graphics screen's versions that the hooks hold.
int32_t graphics_port_in(int32_t port);
int32_t graphics_port_out(int32_t port, int32_t value);

}  // namespace zv
