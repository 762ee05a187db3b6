// Our encoder driven as its callers drive it, and with a chosen kernel set.
#pragma once

#include <cstdint>
#include <vector>

#include "bench/jpeg/src/kernels.h"
#include "test_images.h"

namespace ovjpeg::testing {

// ijlInit / ijlWrite / ijlFree; an empty result when ijlWrite fails.
std::vector<std::uint8_t> EncodeWithIjl(const RgbImage& image, int quality);

// The same with the output buffer kept across calls (for timing).
class IjlCompressor {
 public:
  IjlCompressor(int width, int height);
  // Returns the stream size, 0 on failure; the stream stays valid until the next call.
  std::size_t Compress(const RgbImage& image, int quality);
  std::vector<std::uint8_t> Stream() const { return {buffer_.begin(), buffer_.begin() + size_}; }

 private:
  std::vector<std::uint8_t> buffer_;
  std::size_t size_ = 0;
};

// The packed RGB entry with the given kernel set, standard tables.
std::vector<std::uint8_t> EncodeWithKernels(const RgbImage& image, int quality,
                                            const Kernels& kernels);

// The image as 32-bit blue, green, red, unused pixels, rows followed by pad_bytes; the unused
// and pad bytes are filled with junk that must not matter.
std::vector<std::uint8_t> ToBgrx(const RgbImage& image, int pad_bytes);

// The BGRX entry with the given kernel set, standard tables.
std::vector<std::uint8_t> EncodeBgrxWithKernels(const RgbImage& image, int pad_bytes, int quality,
                                                const Kernels& kernels);

}  // namespace ovjpeg::testing
