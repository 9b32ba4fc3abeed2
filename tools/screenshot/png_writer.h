// Writes 8-bit RGB images as PNG files: no compression library needed, the image data goes into
// stored (uncompressed) deflate blocks, which every PNG reader accepts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kqshot {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels; // row by row, top first, 3 bytes (R, G, B) per pixel
};

// The PNG file's bytes for `image`. An image with no pixels gives an empty result.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);

// Writes EncodePng(image) to `path`; false when the image is empty or the file cannot be written.
bool WritePng(const RgbImage& image, const std::string& path);

} // namespace kqshot
