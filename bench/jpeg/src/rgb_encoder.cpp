// Pixels in (packed RGB or BGRX): per 16 x 16 MCU colour conversion, downsampling, DCT,
// quantisation and Huffman coding run back to back, so the MCU's data stays in registers and the
// first-level cache.
#include <algorithm>
#include <cstring>

#include "encoder.h"
#include "stream.h"

namespace ovjpeg {
namespace {

// How far ahead of the current MCU's pixels to fetch, in MCUs.
constexpr int kPrefetchMcus = 4;

// An MCU that reaches past the right or bottom edge: the last column and row are repeated.
void CopyEdgeMcu(const RgbPicture& picture, int pixel_bytes, int x0, int y0, std::uint8_t* mcu) {
  const int columns = std::min(16, picture.width - x0);
  const std::size_t row_bytes = static_cast<std::size_t>(columns) * pixel_bytes;
  for (int row = 0; row < 16; ++row) {
    const int y = std::min(y0 + row, picture.height - 1);
    const std::uint8_t* src = picture.pixels + y * picture.stride + x0 * pixel_bytes;
    std::uint8_t* dst = mcu + row * 16 * pixel_bytes;
    std::memcpy(dst, src, row_bytes);
    for (int col = columns; col < 16; ++col) {
      std::memcpy(dst + col * pixel_bytes, src + row_bytes - pixel_bytes, pixel_bytes);
    }
  }
}

struct McuCoder {
  const Kernels& kernels;
  decltype(Kernels::convert_mcu) convert;
  const QuantTables& tables;
  ComponentCoder components[3];

  void Encode(const std::uint8_t* pixels, std::ptrdiff_t stride, BitWriter& bits) {
    alignas(32) std::int16_t luma[256];
    alignas(32) std::int16_t chroma[128];
    CodedBlock blocks[6];
    convert(pixels, stride, luma, chroma);
    kernels.fdct_quantize_pair(luma, tables.luma_divisors, blocks);
    kernels.fdct_quantize_pair(luma + 128, tables.luma_divisors, blocks + 2);
    kernels.fdct_quantize_pair(chroma, tables.chroma_divisors, blocks + 4);
    if (kernels.zigzag_entries != nullptr) {
      alignas(64) std::uint16_t entries[64];
      for (int b = 0; b < 6; ++b) {
        std::uint64_t mask;
        kernels.zigzag_entries(blocks[b].coefficient, entries, &mask);
        EncodeZigzagBlock(bits, blocks[b].coefficient[0], entries, mask,
                          components[b < 4 ? 0 : b - 3]);
      }
      return;
    }
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
  const bool bgrx = picture.layout == PixelLayout::kBgrx;
  const int pixel_bytes = bgrx ? 4 : 3;
  McuCoder coder{kernels,
                 bgrx ? kernels.convert_mcu_bgrx : kernels.convert_mcu,
                 tables,
                 {{&codes.luma_dc, &codes.luma_ac},
                  {&codes.chroma_dc, &codes.chroma_ac},
                  {&codes.chroma_dc, &codes.chroma_ac}}};
  ScanWriter scan(scan_start, output.data + output.capacity);
  alignas(32) std::uint8_t edge[16 * 64];
  const int prefetch_bytes = kPrefetchMcus * 16 * pixel_bytes;
  for (int y0 = 0; y0 < picture.height; y0 += 16) {
    for (int x0 = 0; x0 < picture.width; x0 += 16) {
      const std::uint8_t* pixels = picture.pixels + y0 * picture.stride + x0 * pixel_bytes;
      std::ptrdiff_t stride = picture.stride;
      if (x0 + 16 > picture.width || y0 + 16 > picture.height) {
        CopyEdgeMcu(picture, pixel_bytes, x0, y0, edge);
        pixels = edge;
        stride = 16 * pixel_bytes;
      }
      // The 16 row streams of an MCU row are more than the hardware prefetcher follows well.
      for (int row = 0; row < 16; ++row) __builtin_prefetch(pixels + row * stride + prefetch_bytes);
      scan.BeginMcu();
      coder.Encode(pixels, stride, scan.bits());
      if (!scan.EndMcu()) return IJL_BUFFER_TOO_SMALL;
    }
  }
  return EndStream(scan, output);
}

}  // namespace ovjpeg
