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

namespace {

std::vector<std::uint8_t> EncodePicture(const RgbPicture& picture, int quality,
                                        const Kernels& kernels) {
  std::vector<std::uint8_t> out(Capacity(picture.width, picture.height));
  const QuantTables tables{ScaleQuantTable(kLuminanceExample, quality),
                           ScaleQuantTable(kChrominanceExample, quality)};
  Output output{out.data(), out.size(), 0};
  if (EncodeRgb(picture, tables, kernels, output) != IJL_OK) return {};
  out.resize(output.size);
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeWithKernels(const RgbImage& image, int quality,
                                            const Kernels& kernels) {
  return EncodePicture({image.pixels.data(), static_cast<std::ptrdiff_t>(image.width) * 3,
                        image.width, image.height},
                       quality, kernels);
}

std::vector<std::uint8_t> ToBgrx(const RgbImage& image, int pad_bytes) {
  const std::size_t stride = static_cast<std::size_t>(image.width) * 4 + pad_bytes;
  std::vector<std::uint8_t> bgrx(stride * image.height);
  for (std::size_t i = 0; i < bgrx.size(); ++i) bgrx[i] = static_cast<std::uint8_t>(i * 37 + 11);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* rgb = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
      std::uint8_t* out = &bgrx[y * stride + x * 4];
      out[0] = rgb[2];
      out[1] = rgb[1];
      out[2] = rgb[0];
    }
  }
  return bgrx;
}

std::vector<std::uint8_t> EncodeBgrxWithKernels(const RgbImage& image, int pad_bytes, int quality,
                                                const Kernels& kernels) {
  const std::vector<std::uint8_t> bgrx = ToBgrx(image, pad_bytes);
  return EncodePicture({bgrx.data(), static_cast<std::ptrdiff_t>(image.width) * 4 + pad_bytes,
                        image.width, image.height, PixelLayout::kBgrx},
                       quality, kernels);
}

}  // namespace ovjpeg::testing
