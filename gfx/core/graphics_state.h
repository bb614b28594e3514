// The one graphics screen of the process and its mode table.
#pragma once

#include <cstdint>

namespace zv {

struct DisplayDriver;
struct FontInfo;
struct PaletteInfo;
struct Mutex;

struct ModeInfo {
  uint16_t width;  // 0 marks an unsupported mode number
  uint16_t height;
  uint8_t depth;
  uint8_t scanline_size;
  const PaletteInfo* palette;
  const FontInfo* font;
  uint8_t text_w;
  uint8_t text_h;
};

struct CharCell {
  uint32_t character;
  uint32_t foreground;
  uint32_t background;
};

// One entry of the event ring: five words, the first is the kind.
struct InputEvent {
  int32_t kind;
  int32_t data[4];
};
static_assert(sizeof(InputEvent) == 20);

constexpr int32_t EVENT_RING_SIZE = 128;

// Mode request flags
constexpr int32_t SCREEN_FULLSCREEN = 0x1;
constexpr int32_t SCREEN_OPENGL = 0x2;
constexpr int32_t SCREEN_NO_SWITCH = 0x4;
constexpr int32_t SCREEN_NO_FRAME = 0x8;
constexpr int32_t SCREEN_SHAPED_WINDOW = 0x10;
constexpr int32_t SCREEN_ALWAYS_ON_TOP = 0x20;
constexpr int32_t SCREEN_ALPHA_PRIMITIVES = 0x40;
constexpr int32_t SCREEN_NULL = -1;
constexpr int32_t SCREEN_EXITING = INT32_MIN;  // 0x80000000

// State bits
constexpr uint32_t GS_LOCKED = 0x1;
constexpr uint32_t GS_AUTO_LOCKED = 0x2;
constexpr uint32_t GS_NEWLINE_PENDING = 0x4;
constexpr uint32_t GS_ALPHA_PRIMITIVES = 0x8;
constexpr uint32_t GS_MMX = 0x1000000;  // vectorised routines in use
constexpr uint32_t GS_OPENGL = 0x20000000;

struct GraphicsState {
  uint32_t id;
  int32_t mode_num;
  uint8_t** pages;
  int32_t num_pages;
  int32_t visible_page;
  uint8_t* visible_buffer;
  int32_t width;
  int32_t height;
  int32_t depth;
  int32_t bytes_per_pixel;
  int32_t pitch;
  uint32_t* colour_table;    // 256 x 0x00BBGGRR
  uint32_t* device_palette;  // 256 x 0x00BBGGRR
  uint8_t* colour_map;       // 16 bytes
  uint8_t* dirty;            // height x scanline_size flags
  const DisplayDriver* driver;
  uint32_t colour_mask;
  const PaletteInfo* default_palette;
  int32_t scanline_size;
  int32_t cursor_x;
  int32_t cursor_y;
  const FontInfo* font;
  int32_t text_w;
  int32_t text_h;
  uint8_t* key_state;  // 128 bytes, by scan code
  int32_t refresh_rate;
  CharCell** char_pages;
  InputEvent* event_ring;  // EVENT_RING_SIZE entries
  int32_t event_head;
  int32_t event_tail;
  Mutex* event_lock;
  uint32_t flags;
};

// The open screen, or null when none is open.
GraphicsState* graphics_state();

}  // namespace zv

namespace zv {

// Owned by the mode set; tests of single components may point it at a record of their own.
extern GraphicsState* current_screen;
// 512 entries (2048 bytes) for the back-end blitters, allocated with the screen.
extern uint32_t* blit_conversion_table;

}  // namespace zv
