// The DirectX driver's decisions that need no DirectDraw: the full-screen mode search,
// where the picture sits in a taller mode, the conversion for a surface's pixel format,
// held keys from a keyboard device's state, and the recovery of lost surfaces.
// Both bindings (the COM one on Windows, the RandR one on X) run these.
#pragma once

#include <cstdint>

namespace zv {

// Result codes the driver tests (the HRESULT values of the component interfaces).
constexpr uint32_t DDRAW_OK = 0;
constexpr uint32_t DDRAW_SURFACE_LOST = 0x887601C2;
constexpr uint32_t DDRAW_WRONG_MODE = 0x8876024B;
constexpr uint32_t DDRAW_INPUT_LOST = 0x8007001E;
constexpr uint32_t DDRAW_NOT_ACQUIRED = 0x8007000C;

// Heights tried, in order, once the display height itself is refused.
constexpr int32_t DDRAW_MODE_HEIGHTS[] = {240, 480, 600, 768, 1024};

// The other depth that serves the same picture (16 <-> 15, 24 <-> 32), 0 when none.
int32_t ddraw_partner_depth(int32_t depth);
// 1 (the standard VGA mode flag) for 320 x 200 at 8 bits, else 0.
int32_t ddraw_vga_flag(int32_t width, int32_t height, int32_t depth);
// The first height of DDRAW_MODE_HEIGHTS above height; 0 when height is 1024 or more.
int32_t ddraw_next_height(int32_t height);

// Sets one display mode; 0 when the display took it.
using DdrawSetMode = int32_t (*)(void* context, int32_t width, int32_t height, int32_t bits, int32_t refresh_rate,
                                 int32_t vga_flag);
// Tries width x h for h = display_height, then the taller heights, each at depth and
// then at its partner depth. Returns the height of the mode that was set, -1 when none was.
int32_t ddraw_search_mode(int32_t width, int32_t display_height, int32_t depth, int32_t refresh_rate,
                          DdrawSetMode set_mode, void* context);

// Rows between the top of a mode_height mode and the first picture row (arithmetic shift).
constexpr int32_t ddraw_row_offset(int32_t mode_height, int32_t display_height) {
  return (mode_height - display_height) >> 1;
}

// The blitter type of a surface with rgb_bits per pixel (15 for 16 bits with the 5-5-5
// green mask 0x3E0); the same count decides which modes list_modes reports for a depth.
int32_t ddraw_display_type(uint32_t rgb_bits, uint32_t green_mask);
// 1 when red is the low field: 16 bits with red mask 0x1F, or 24 and more with 0xFF.
int32_t ddraw_red_low(uint32_t rgb_bits, uint32_t red_mask);

// key_state[i] = 1 when bit 7 of device byte i or i + 128 is set: extended keys (the
// device's codes with the top bit) share the entry of their base scan code.
void ddraw_fold_key_state(const uint8_t device_state[256], uint8_t key_state[128]);

// What the recovery of lost surfaces needs from the binding. restore_back is null when
// the back surface is the primary one.
struct DdrawRecovery {
  void* context;
  bool (*primary_lost)(void* context);
  uint32_t (*restore_back)(void* context);
  uint32_t (*restore_primary)(void* context);
  // The display mode was changed under the driver: close and open again until the open
  // succeeds; returns false when it gave up because the display is closing.
  bool (*rebuild)(void* context);
  bool (*running)(void* context);  // false once the display is closing
};

// Restores lost surfaces, rebuilding the driver when the display mode changed. A display
// that stays lost is given up after DDRAW_RECOVERY_ROUNDS rounds until the next cycle,
// so the window thread never spins under the screen lock.
constexpr int32_t DDRAW_RECOVERY_ROUNDS = 8;
void ddraw_recover(const DdrawRecovery& recovery);

// Runs attempt after a recovery, again while it reports a lost surface (at most
// DDRAW_RECOVERY_ROUNDS times). Returns the last result.
uint32_t ddraw_with_recovery(const DdrawRecovery& recovery, uint32_t (*attempt)(void* context), void* context);

// What rebuilding after a display-mode change needs from the binding.
struct DdrawRebuild {
  void* context;
  void (*close)(void* context);
  int32_t (*open)(void* context);  // 0 on success
  void (*sleep_ms)(int32_t milliseconds);
  bool (*running)(void* context);
  void (*stop_flashing)(void* context);  // may be null
};
constexpr int32_t DDRAW_REBUILD_PAUSE_MS = 300;
// Close; open until it succeeds (close and pause after each failure); stop the taskbar
// flashing. Gives up, closed, once the display is closing; returns whether it is open.
bool ddraw_rebuild(const DdrawRebuild& rebuild);

}  // namespace zv
