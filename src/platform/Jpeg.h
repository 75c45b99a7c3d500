// JPEG pictures, decoded with libjpeg. Portable: the native tests decode the
// same pictures the program shows.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

struct TRgbImage {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // rows top down, three bytes (R, G, B) a pixel
};

// Pictures larger than this on either side are refused: the program's own
// pictures are small, and a broken header must not ask for gigabytes.
inline constexpr int kJpegMaxSide = 4096;

// Decodes a JPEG file held in memory into RGB; false (and an empty image)
// for data that is not a JPEG picture libjpeg can read, or is too large.
bool DecodeJpeg(std::string_view data, TRgbImage& image);

}  // namespace platform
