// One packed-RGB picture through the JPEG library: baseline, 2 x 2 chroma, at a quality.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vexmark {

// Returns the JPEG size written at the start of destination (never past capacity), 0 on
// failure.
int JpegCompress(const std::uint8_t* rgb, int width, int height, std::uint8_t* destination,
                 std::size_t capacity, int quality);

}  // namespace vexmark
