#include "psf_font.h"

#include <cstdio>

namespace fontpack {

bool read_psf1(const std::string& path, int height, std::vector<uint8_t>& glyphs, std::string& error) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = path + ": cannot open";
    return false;
  }
  std::vector<uint8_t> data;
  uint8_t buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) data.insert(data.end(), buffer, buffer + got);
  std::fclose(file);

  if (data.size() < 4 || data[0] != 0x36 || data[1] != 0x04) {
    error = path + ": not a PSF1 font (a gzipped file must be unpacked first)";
    return false;
  }
  if (data[3] != height) {
    error = path + ": glyphs are " + std::to_string(data[3]) + " rows high, expected " + std::to_string(height);
    return false;
  }
  const size_t size = 256 * static_cast<size_t>(height);
  if (data.size() < 4 + size) {
    error = path + ": truncated";
    return false;
  }
  glyphs.clear();
  for (size_t i = 0; i < size; ++i) glyphs.push_back(reverse_bits(data[4 + i]));
  return true;
}

}  // namespace fontpack
