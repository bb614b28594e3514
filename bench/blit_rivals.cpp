#include "blit_rivals.h"

#include <SDL2/SDL.h>
#include <libyuv/convert_argb.h>
#include <libyuv/convert_from_argb.h>
#include <pixman.h>

#include <memory>

namespace bench {

namespace {

// The SDL and pixman names of each surface layout; 0 where none exists.
struct LayoutNames {
  uint32_t sdl;
  pixman_format_code_t pixman;
};

LayoutNames surface_names(int32_t type, int32_t red_low) {
  switch (type * 2 + red_low) {
    case 30: return {SDL_PIXELFORMAT_RGB555, PIXMAN_x1r5g5b5};
    case 31: return {SDL_PIXELFORMAT_BGR555, PIXMAN_x1b5g5r5};
    case 32: return {SDL_PIXELFORMAT_RGB565, PIXMAN_r5g6b5};
    case 33: return {SDL_PIXELFORMAT_BGR565, PIXMAN_b5g6r5};
    case 48: return {SDL_PIXELFORMAT_BGR24, PIXMAN_r8g8b8};  // bytes B, G, R
    case 49: return {SDL_PIXELFORMAT_RGB24, PIXMAN_b8g8r8};  // bytes R, G, B
    case 64: return {SDL_PIXELFORMAT_XRGB8888, PIXMAN_x8r8g8b8};
    case 65: return {SDL_PIXELFORMAT_XBGR8888, PIXMAN_x8b8g8r8};
    default: return {SDL_PIXELFORMAT_INDEX8, PIXMAN_c8};
  }
}

LayoutNames source_names(int32_t depth) {
  if (depth == 16) return {SDL_PIXELFORMAT_RGB565, PIXMAN_r5g6b5};
  if (depth == 32) return {SDL_PIXELFORMAT_XRGB8888, PIXMAN_x8r8g8b8};
  return {SDL_PIXELFORMAT_INDEX8, PIXMAN_c8};
}

Rival sdl_rival(int32_t depth, int32_t type, int32_t red_low, uint8_t* source, int32_t source_pitch,
                uint8_t* destination, int32_t destination_pitch, int32_t width, int32_t height,
                const uint32_t* palette) {
  uint32_t from = source_names(depth).sdl, to = surface_names(type, red_low).sdl;
  if (type == 8) to = SDL_PIXELFORMAT_INDEX8;
  if (depth != 8 || type == 8) {
    return {"SDL2", "SDL_ConvertPixels",
            [=] { SDL_ConvertPixels(width, height, from, source, source_pitch, to, destination, destination_pitch); },
            [] {}};
  }
  // Palette pictures go through a surface blit (SDL's 1-to-N blitters).
  SDL_Surface* src = SDL_CreateRGBSurfaceWithFormatFrom(source, width, height, 8, source_pitch, from);
  SDL_Surface* dst = SDL_CreateRGBSurfaceWithFormatFrom(destination, width, height, SDL_BITSPERPIXEL(to),
                                                        destination_pitch, to);
  SDL_Color colours[256];
  for (int i = 0; i < 256; ++i)
    colours[i] = {uint8_t(palette[i]), uint8_t(palette[i] >> 8), uint8_t(palette[i] >> 16), 255};
  SDL_SetPaletteColors(src->format->palette, colours, 0, 256);
  SDL_SetSurfaceBlendMode(src, SDL_BLENDMODE_NONE);
  return {"SDL2", "SDL_BlitSurface INDEX8", [=] { SDL_BlitSurface(src, nullptr, dst, nullptr); },
          [=] {
            SDL_FreeSurface(src);
            SDL_FreeSurface(dst);
          }};
}

Rival pixman_rival(int32_t depth, int32_t type, int32_t red_low, uint8_t* source, int32_t source_pitch,
                   uint8_t* destination, int32_t destination_pitch, int32_t width, int32_t height,
                   const uint32_t* palette) {
  pixman_format_code_t from = source_names(depth).pixman, to = surface_names(type, red_low).pixman;
  pixman_image_t* src =
      pixman_image_create_bits(from, width, height, reinterpret_cast<uint32_t*>(source), source_pitch);
  pixman_image_t* dst =
      pixman_image_create_bits(to, width, height, reinterpret_cast<uint32_t*>(destination), destination_pitch);
  auto indexed = std::make_shared<pixman_indexed_t>();
  if (depth == 8) {
    for (int i = 0; i < 256; ++i) {
      uint32_t e = palette[i];
      indexed->rgba[i] = 0xFF000000u | (e & 0xFF) << 16 | (e & 0xFF00) | (e >> 16 & 0xFF);
    }
    pixman_image_set_indexed(src, indexed.get());
  }
  return {"pixman", "pixman_image_composite32 SRC",
          [=] { pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, width, height); },
          [=] {
            pixman_image_unref(src);
            pixman_image_unref(dst);
            (void)indexed;
          }};
}

}  // namespace

std::vector<Rival> make_rivals(int32_t depth, int32_t type, int32_t red_low, uint8_t* source, int32_t source_pitch,
                               uint8_t* destination, int32_t destination_pitch, int32_t width, int32_t height,
                               const uint32_t* palette) {
  std::vector<Rival> rivals;
  rivals.push_back(sdl_rival(depth, type, red_low, source, source_pitch, destination, destination_pitch, width,
                             height, palette));
  if (type != 8)
    rivals.push_back(pixman_rival(depth, type, red_low, source, source_pitch, destination, destination_pitch, width,
                                  height, palette));
  using Yuv = int (*)(const uint8_t*, int, uint8_t*, int, int, int);
  Yuv yuv = nullptr;
  const char* name = nullptr;
  if (depth == 32 && type == 16 && !red_low) yuv = libyuv::ARGBToRGB565, name = "ARGBToRGB565";
  if (depth == 32 && type == 15 && !red_low) yuv = libyuv::ARGBToARGB1555, name = "ARGBToARGB1555";
  if (depth == 32 && type == 24) yuv = red_low ? libyuv::ARGBToRAW : libyuv::ARGBToRGB24;
  if (depth == 32 && type == 24) name = red_low ? "ARGBToRAW" : "ARGBToRGB24";
  if (depth == 16 && type == 32 && !red_low) yuv = libyuv::RGB565ToARGB, name = "RGB565ToARGB";
  if (yuv)
    rivals.push_back({"libyuv", name,
                      [=] { yuv(source, source_pitch, destination, destination_pitch, width, height); }, [] {}});
  return rivals;
}

}  // namespace bench
