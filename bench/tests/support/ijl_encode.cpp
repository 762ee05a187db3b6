#include "ijl_encode.h"

#include "bench/jpeg/ijl.h"
#include "bench/jpeg/src/encoder.h"

namespace ovjpeg::testing {
namespace {

std::size_t Capacity(int width, int height) {
  return static_cast<std::size_t>(width) * height * 3 + 4096;
}

std::size_t Capacity(const RgbImage& image) { return Capacity(image.width, image.height); }

// Returns the stream size, 0 on failure.
std::size_t Compress(const RgbImage& image, int quality, std::vector<std::uint8_t>& out) {
  JPEG_CORE_PROPERTIES props;
  if (ijlInit(&props) != IJL_OK) return 0;
  props.DIBBytes = image.pixels.data();
  props.DIBWidth = image.width;
  props.DIBHeight = image.height;
  props.DIBChannels = 3;
  props.DIBColor = IJL_RGB;
  props.JPGBytes = out.data();
  props.JPGSizeBytes = static_cast<int>(out.size());
  props.JPGWidth = image.width;
  props.JPGHeight = image.height;
  props.JPGChannels = 3;
  props.JPGColor = IJL_YCBCR;
  props.JPGSubsampling = IJL_411;
  props.jquality = quality;
  const IJLERR status = ijlWrite(&props, IJL_JBUFF_WRITEWHOLEIMAGE);
  ijlFree(&props);
  return status == IJL_OK ? static_cast<std::size_t>(props.JPGSizeBytes) : 0;
}

}  // namespace

std::vector<std::uint8_t> EncodeWithIjl(const RgbImage& image, int quality) {
  std::vector<std::uint8_t> out(Capacity(image));
  out.resize(Compress(image, quality, out));
  return out;
}

IjlCompressor::IjlCompressor(int width, int height) : buffer_(Capacity(width, height)) {}

std::size_t IjlCompressor::Compress(const RgbImage& image, int quality) {
  size_ = testing::Compress(image, quality, buffer_);
  return size_;
}

std::vector<std::uint8_t> EncodeWithKernels(const RgbImage& image, int quality,
                                            const Kernels& kernels) {
  std::vector<std::uint8_t> out(Capacity(image));
  const RgbPicture picture{image.pixels.data(), static_cast<std::ptrdiff_t>(image.width) * 3,
                           image.width, image.height};
  const QuantTables tables{ScaleQuantTable(kLuminanceExample, quality),
                           ScaleQuantTable(kChrominanceExample, quality)};
  Output output{out.data(), out.size(), 0};
  if (EncodeRgb(picture, tables, kernels, output) != IJL_OK) return {};
  out.resize(output.size);
  return out;
}

}  // namespace ovjpeg::testing
