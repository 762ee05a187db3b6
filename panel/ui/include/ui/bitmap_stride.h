// The rows of the 32-bit bitmap a decoded skin image is drawn into.
#pragma once
#include <cstdint>
#include <optional>

namespace ui {

// The bytes per row of a width x height bitmap of 4-byte pixels, for the sizes a decoder reads
// from an image file of the skin archive; nullopt for an empty bitmap or one too large for a
// window's image, so the size never wraps the int the drawing calls take.
std::optional<int> BitmapStride(uint32_t width, uint32_t height);

}  // namespace ui
