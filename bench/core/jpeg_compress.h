// One picture through the JPEG library: baseline, 2 x 2 chroma, at a quality.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vexmark {

struct JpegSource {
  const std::uint8_t* pixels;  // top row first
  int width;
  int height;
  std::size_t stride;  // bytes from one row to the next, at least width x pixel bytes
  bool bgrx;           // 4-byte blue, green, red, unused pixels; else packed red, green, blue
};

// Returns the JPEG size written at the start of destination (never past capacity), 0 on
// failure.
int JpegCompress(const JpegSource& source, std::uint8_t* destination, std::size_t capacity,
                 int quality);

// Packed RGB rows without padding.
int JpegCompress(const std::uint8_t* rgb, int width, int height, std::uint8_t* destination,
                 std::size_t capacity, int quality);

}  // namespace vexmark
