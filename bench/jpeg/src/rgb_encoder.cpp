// Packed RGB in: per 16 x 16 MCU colour conversion, downsampling, DCT, quantisation and Huffman
// coding run back to back, so the MCU's data stays in registers and the first-level cache.
#include <algorithm>
#include <cstring>

#include "encoder.h"
#include "stream.h"

namespace ovjpeg {
namespace {

// How far ahead of the current MCU's pixels to fetch: four MCUs.
constexpr int kPrefetchBytes = 4 * 48;

// An MCU that reaches past the right or bottom edge: the last column and row are repeated.
void CopyEdgeMcu(const RgbPicture& picture, int x0, int y0, std::uint8_t* mcu) {
  const int columns = std::min(16, picture.width - x0);
  for (int row = 0; row < 16; ++row) {
    const int y = std::min(y0 + row, picture.height - 1);
    const std::uint8_t* src = picture.pixels + y * picture.stride + x0 * 3;
    std::uint8_t* dst = mcu + row * 48;
    std::memcpy(dst, src, static_cast<std::size_t>(columns) * 3);
    for (int col = columns; col < 16; ++col) std::memcpy(dst + col * 3, src + (columns - 1) * 3, 3);
  }
}

struct McuCoder {
  const Kernels& kernels;
  QuantDivisors luma_divisors;
  QuantDivisors chroma_divisors;
  ComponentCoder components[3];

  void Encode(const std::uint8_t* rgb, std::ptrdiff_t stride, BitWriter& bits) {
    alignas(32) std::int16_t luma[256];
    alignas(32) std::int16_t chroma[128];
    CodedBlock blocks[6];
    kernels.convert_mcu(rgb, stride, luma, chroma);
    kernels.fdct_quantize_pair(luma, luma_divisors, blocks);
    kernels.fdct_quantize_pair(luma + 128, luma_divisors, blocks + 2);
    kernels.fdct_quantize_pair(chroma, chroma_divisors, blocks + 4);
    const BlockLayout& layout = TransposedLayout();
    for (int b = 0; b < 4; ++b) EncodeBlock(bits, blocks[b], layout, components[0]);
    EncodeBlock(bits, blocks[4], layout, components[1]);
    EncodeBlock(bits, blocks[5], layout, components[2]);
  }
};

}  // namespace

IJLERR EncodeRgb(const RgbPicture& picture, const QuantTables& tables, const Kernels& kernels,
                 Output& output) {
  std::uint8_t* scan_start = BeginStream(output, picture.width, picture.height, tables);
  if (scan_start == nullptr) return IJL_BUFFER_TOO_SMALL;
  const StandardCodes& codes = StandardHuffmanCodes();
  McuCoder coder{kernels,
                 MakeDivisors(tables.luma),
                 MakeDivisors(tables.chroma),
                 {{&codes.luma_dc, &codes.luma_ac},
                  {&codes.chroma_dc, &codes.chroma_ac},
                  {&codes.chroma_dc, &codes.chroma_ac}}};
  ScanWriter scan(scan_start, output.data + output.capacity);
  alignas(32) std::uint8_t edge[16 * 48];
  for (int y0 = 0; y0 < picture.height; y0 += 16) {
    for (int x0 = 0; x0 < picture.width; x0 += 16) {
      const std::uint8_t* rgb = picture.pixels + y0 * picture.stride + x0 * 3;
      std::ptrdiff_t stride = picture.stride;
      if (x0 + 16 > picture.width || y0 + 16 > picture.height) {
        CopyEdgeMcu(picture, x0, y0, edge);
        rgb = edge;
        stride = 48;
      }
      // The 16 row streams of an MCU row are more than the hardware prefetcher follows well.
      for (int row = 0; row < 16; ++row) __builtin_prefetch(rgb + row * stride + kPrefetchBytes);
      scan.BeginMcu();
      coder.Encode(rgb, stride, scan.bits());
      if (!scan.EndMcu()) return IJL_BUFFER_TOO_SMALL;
    }
  }
  return EndStream(scan, output);
}

}  // namespace ovjpeg
