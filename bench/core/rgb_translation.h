// Pixel translation from the desktop's format: to packed RGB for the CPU JPEG encoder and to
// RGBA texels for the GPU encoder.
#pragma once
#include <cstdint>
#include <vector>

#include "bench/core/pixel_format.h"

namespace vexmark {

// Whether a 32-bit format can take the shift-only path: depth 24, all maxima 255.
bool IsFastTranslateFormat(const PixelFormat& remote);

// Whether the JPEG library can read the pixels as they are: 32-bit words of blue, green, red and
// an unused byte in memory (the common little-endian desktop) with no byte swap.
bool IsBgrxFormat(const PixelFormat& local, const PixelFormat& remote);

// Translation for one pair of formats; the per-value tables of the scaled channels are made once
// here, not per row.
class RgbTranslator {
 public:
  RgbTranslator() = default;
  RgbTranslator(const PixelFormat& local, const PixelFormat& remote, bool fast);

  // One row of width pixels in the remote format to red, green, blue bytes. Differing
  // big-endian flags of the two formats make the pixels byte-swapped first.
  void ToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width) const;
  // One row of width 16- or 32-bit pixels of the local format to red, green, blue, alpha 255.
  void ToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width) const;

 private:
  PixelFormat local_;
  PixelFormat remote_;
  bool fast_ = false;
  bool swap_ = false;
  // value x 255 / max for every value of each 16-bit channel (red, green, blue).
  std::vector<std::uint8_t> scaled_[3];
};

// One row through a translator made for this call (tests and tools).
void TranslateRowToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width,
                       const PixelFormat& local, const PixelFormat& remote, bool fast);
void TranslateRowToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width,
                        const PixelFormat& local);

}  // namespace vexmark
