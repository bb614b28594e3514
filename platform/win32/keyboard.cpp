// Characters of virtual keys from the active keyboard layout.
// platform.h comes first: its message-box constants share names with windows.h macros.
#include "platform/platform.h"

#include <windows.h>

namespace zv::platform {

uint32_t virtual_key_char(uint32_t vk) { return MapVirtualKeyA(vk, MAPVK_VK_TO_CHAR); }

}  // namespace zv::platform
