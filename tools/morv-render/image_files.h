// Writing pages of 0xAARRGGBB pixels as a PNG or as the frames of an animated GIF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GifFileType;

namespace morv::render {

// The alpha bytes are dropped. False when the file cannot be written.
bool write_png(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch);

// Frames are written as they come, each with its own colour table; a frame of more
// than 256 colours is reduced to 3-3-2 bits of red, green and blue.
class GifWriter {
 public:
  GifWriter() = default;
  GifWriter(const GifWriter&) = delete;
  GifWriter& operator=(const GifWriter&) = delete;
  ~GifWriter();

  bool open(const std::string& path, int32_t width, int32_t height, int32_t delay_cs);
  bool add_frame(const uint8_t* pixels, int32_t pitch);
  // False when any step since open failed.
  bool close();

 private:
  GifFileType* file_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t delay_cs_ = 0;
  bool failed_ = false;
  std::vector<uint8_t> indices_;
};

}  // namespace morv::render
