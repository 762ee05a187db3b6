#include "ui/bitmap_stride.h"

namespace ui {
namespace {

// A side or a whole bitmap beyond these is no window image.
constexpr uint32_t kMaxSide = 1u << 15;
constexpr uint64_t kMaxBytes = uint64_t{1} << 28;

}  // namespace

std::optional<int> BitmapStride(uint32_t width, uint32_t height) {
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return std::nullopt;
  const uint64_t stride = uint64_t{width} * 4;
  if (stride * height > kMaxBytes) return std::nullopt;
  return static_cast<int>(stride);
}

}  // namespace ui
