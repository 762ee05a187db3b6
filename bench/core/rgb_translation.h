// Pixel translation from the desktop's format: to packed RGB for the CPU JPEG encoder and to
// RGBA texels for the GPU encoder.
#pragma once
#include <cstdint>

#include "bench/core/pixel_format.h"

namespace vexmark {

// Whether a 32-bit format can take the shift-only path: depth 24, all maxima 255.
bool IsFastTranslateFormat(const PixelFormat& remote);

// One row of width pixels in the remote format to red, green, blue bytes. Differing big-endian
// flags of the two formats make the pixels byte-swapped first.
void TranslateRowToRgb(const std::uint8_t* source, std::uint8_t* rgb, int width,
                       const PixelFormat& local, const PixelFormat& remote, bool fast);

// One row of width 16- or 32-bit pixels to red, green, blue, alpha 255.
void TranslateRowToRgba(const std::uint8_t* source, std::uint8_t* rgba, int width,
                        const PixelFormat& local);

}  // namespace vexmark
