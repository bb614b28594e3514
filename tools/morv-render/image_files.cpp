#include "image_files.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
#include <png.h>

#include <algorithm>
#include <unordered_map>

namespace morv::render {

namespace {

uint32_t rgb_of(const uint8_t* pixels, int32_t pitch, int32_t x, int32_t y) {
  const uint8_t* p = pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * 4;
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;  // little-endian 0xAARRGGBB, alpha dropped
}

GifColorType gif_colour(uint32_t rgb) {
  return GifColorType{static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8),
                      static_cast<GifByteType>(rgb)};
}

uint32_t reduced(uint32_t rgb) { return (rgb >> 16 & 0xE0) | (rgb >> 11 & 0x1C) | (rgb >> 6 & 0x03); }

}  // namespace

bool write_png(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height, int32_t pitch) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  size_t at = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t c = rgb_of(pixels, pitch, x, y);
      rgb[at++] = static_cast<uint8_t>(c >> 16);
      rgb[at++] = static_cast<uint8_t>(c >> 8);
      rgb[at++] = static_cast<uint8_t>(c);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
  png_image_free(&image);
  return written;
}

GifWriter::~GifWriter() { close(); }

bool GifWriter::open(const std::string& path, int32_t width, int32_t height, int32_t delay_cs) {
  // giflib would create the file readable by its owner only.
  const int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (handle < 0) return false;
  int error = 0;
  file_ = EGifOpenFileHandle(handle, &error);
  if (!file_) {
    ::close(handle);
    return false;
  }
  width_ = width;
  height_ = height;
  delay_cs_ = delay_cs;
  indices_.resize(static_cast<size_t>(width) * height);
  EGifSetGifVersion(file_, true);
  if (EGifPutScreenDesc(file_, width, height, 8, 0, nullptr) != GIF_OK) failed_ = true;
  // Loop for ever.
  static const GifByteType loop_name[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static const GifByteType loop_count[] = {1, 0, 0};
  if (!failed_ && (EGifPutExtensionLeader(file_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
                   EGifPutExtensionBlock(file_, sizeof loop_name, loop_name) != GIF_OK ||
                   EGifPutExtensionBlock(file_, sizeof loop_count, loop_count) != GIF_OK ||
                   EGifPutExtensionTrailer(file_) != GIF_OK))
    failed_ = true;
  return !failed_;
}

bool GifWriter::add_frame(const uint8_t* pixels, int32_t pitch) {
  if (!file_ || failed_) return false;
  std::unordered_map<uint32_t, uint8_t> table;
  std::vector<uint32_t> colours;
  bool too_many = false;
  uint32_t last_colour = 0;
  uint8_t last_index = 0;
  bool have_last = false;
  for (int32_t y = 0; y < height_ && !too_many; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      const uint32_t c = rgb_of(pixels, pitch, x, y);
      // Runs of one colour are the rule here; the table is asked only where it changes.
      if (!have_last || c != last_colour) {
        auto [entry, added] = table.try_emplace(c, static_cast<uint8_t>(colours.size()));
        if (added) {
          if (colours.size() == 256) {
            too_many = true;
            break;
          }
          colours.push_back(c);
        }
        last_colour = c;
        last_index = entry->second;
        have_last = true;
      }
      indices_[static_cast<size_t>(y) * width_ + x] = last_index;
    }
  }
  if (too_many) {
    colours.clear();
    for (uint32_t i = 0; i < 256; ++i)
      colours.push_back((i & 0xE0) << 16 | (i & 0x1C) << 11 | (i & 0x03) << 6);
    for (int32_t y = 0; y < height_; ++y)
      for (int32_t x = 0; x < width_; ++x)
        indices_[static_cast<size_t>(y) * width_ + x] = static_cast<uint8_t>(reduced(rgb_of(pixels, pitch, x, y)));
  }
  int32_t size = 2;
  while (size < static_cast<int32_t>(colours.size())) size *= 2;
  colours.resize(static_cast<size_t>(size), 0);
  std::vector<GifColorType> entries;
  for (uint32_t c : colours) entries.push_back(gif_colour(c));
  ColorMapObject* map = GifMakeMapObject(size, entries.data());
  if (!map) return !(failed_ = true);

  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSE_DO_NOT;
  control.DelayTime = delay_cs_;
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  const size_t extension_size = EGifGCBToExtension(&control, extension);
  bool ok = EGifPutExtension(file_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extension_size), extension) == GIF_OK &&
            EGifPutImageDesc(file_, 0, 0, width_, height_, false, map) == GIF_OK;
  for (int32_t y = 0; ok && y < height_; ++y)
    ok = EGifPutLine(file_, &indices_[static_cast<size_t>(y) * width_], width_) == GIF_OK;
  GifFreeMapObject(map);
  if (!ok) failed_ = true;
  return ok;
}

bool GifWriter::close() {
  if (!file_) return !failed_;
  int error = 0;
  if (EGifCloseFile(file_, &error) != GIF_OK) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

}  // namespace morv::render
