#include "display/directdraw/ddraw_rules.h"

namespace zv {

int32_t ddraw_partner_depth(int32_t depth) {
  switch (depth) {
    case 15: return 16;
    case 16: return 15;
    case 24: return 32;
    case 32: return 24;
    default: return 0;
  }
}

int32_t ddraw_vga_flag(int32_t width, int32_t height, int32_t depth) {
  return width == 320 && height == 200 && depth == 8 ? 1 : 0;
}

int32_t ddraw_next_height(int32_t height) {
  for (int32_t h : DDRAW_MODE_HEIGHTS)
    if (h > height) return h;
  return 0;
}

int32_t ddraw_search_mode(int32_t width, int32_t display_height, int32_t depth, int32_t refresh_rate,
                          DdrawSetMode set_mode, void* context) {
  if (!set_mode) return -1;
  const int32_t partner = ddraw_partner_depth(depth);
  for (int32_t h = display_height; h > 0; h = ddraw_next_height(h)) {
    const int32_t vga = ddraw_vga_flag(width, h, depth);
    if (set_mode(context, width, h, depth, refresh_rate, vga) == 0) return h;
    if (partner && set_mode(context, width, h, partner, refresh_rate, vga) == 0) return h;
  }
  return -1;
}

int32_t ddraw_display_type(uint32_t rgb_bits, uint32_t green_mask) {
  if (rgb_bits == 16 && green_mask == 0x3E0) return 15;
  return static_cast<int32_t>(rgb_bits);
}

int32_t ddraw_red_low(uint32_t rgb_bits, uint32_t red_mask) {
  return (rgb_bits == 16 && red_mask == 0x1F) || (rgb_bits >= 24 && red_mask == 0xFF) ? 1 : 0;
}

void ddraw_fold_key_state(const uint8_t device_state[256], uint8_t key_state[128]) {
  for (int32_t i = 0; i < 128; ++i) key_state[i] = ((device_state[i] | device_state[i + 128]) & 0x80) ? 1 : 0;
}

void ddraw_recover(const DdrawRecovery& r) {
  for (int32_t round = 0; round < DDRAW_RECOVERY_ROUNDS; ++round) {
    if (!r.primary_lost(r.context)) return;
    if (r.restore_back) r.restore_back(r.context);
    if (r.restore_primary(r.context) != DDRAW_WRONG_MODE) continue;
    // Someone changed the display mode: the surfaces cannot come back, the driver must.
    if (!r.rebuild(r.context)) return;
    if (r.running && !r.running(r.context)) return;
  }
}

uint32_t ddraw_with_recovery(const DdrawRecovery& recovery, uint32_t (*attempt)(void* context), void* context) {
  uint32_t result = DDRAW_SURFACE_LOST;
  for (int32_t round = 0; round < DDRAW_RECOVERY_ROUNDS && result == DDRAW_SURFACE_LOST; ++round) {
    ddraw_recover(recovery);
    if (recovery.running && !recovery.running(recovery.context)) break;
    result = attempt(context);
  }
  return result;
}

bool ddraw_rebuild(const DdrawRebuild& r) {
  r.close(r.context);
  while (r.open(r.context) != 0) {
    r.close(r.context);
    if (!r.running(r.context)) return false;
    r.sleep_ms(DDRAW_REBUILD_PAUSE_MS);
    if (!r.running(r.context)) return false;
  }
  if (r.stop_flashing) r.stop_flashing(r.context);
  return true;
}

}  // namespace zv
