// Quantised coefficients in: only Huffman coding, straight from the caller's planes.
#include <algorithm>

#include "encoder.h"
#include "stream.h"

namespace ovjpeg {
namespace {

struct PlaneCoder {
  const std::int16_t* plane;
  int blocks_per_row;
  int block_rows;
  const Kernels& kernels;
  ComponentCoder component;

  void Encode(int bx, int by, BitWriter& bits) {
    if (bx >= blocks_per_row || by >= block_rows) {
      EncodePaddingBlock(bits, component);
      return;
    }
    const std::int16_t* block = plane + (static_cast<std::size_t>(by) * blocks_per_row + bx) * 64;
    std::uint64_t mask;
    if (kernels.coefficient_mask(block, &mask)) {
      EncodeBlock(bits, block, mask, NaturalLayout(), component);
      return;
    }
    alignas(32) std::int16_t clamped[64];
    clamped[0] = std::clamp<std::int16_t>(block[0], -1024, 1023);
    for (int i = 1; i < 64; ++i) clamped[i] = std::clamp<std::int16_t>(block[i], -1023, 1023);
    kernels.coefficient_mask(clamped, &mask);
    EncodeBlock(bits, clamped, mask, NaturalLayout(), component);
  }
};

}  // namespace

IJLERR EncodeCoefficients(const CoefficientPlanes& planes, const QuantTables& tables,
                          const Kernels& kernels, Output& output) {
  std::uint8_t* scan_start = BeginStream(output, planes.width, planes.height, tables);
  if (scan_start == nullptr) return IJL_BUFFER_TOO_SMALL;
  const StandardCodes& codes = StandardHuffmanCodes();
  const ComponentCoder luma{&codes.luma_dc, &codes.luma_ac};
  const ComponentCoder chroma{&codes.chroma_dc, &codes.chroma_ac};
  PlaneCoder coders[3] = {
      {planes.plane[0], planes.blocks_per_row[0], planes.block_rows[0], kernels, luma},
      {planes.plane[1], planes.blocks_per_row[1], planes.block_rows[1], kernels, chroma},
      {planes.plane[2], planes.blocks_per_row[2], planes.block_rows[2], kernels, chroma}};
  ScanWriter scan(scan_start, output.data + output.capacity);
  const int mcu_columns = (planes.width + 15) / 16;
  const int mcu_rows = (planes.height + 15) / 16;
  for (int my = 0; my < mcu_rows; ++my) {
    for (int mx = 0; mx < mcu_columns; ++mx) {
      scan.BeginMcu();
      BitWriter& bits = scan.bits();
      for (int b = 0; b < 4; ++b) coders[0].Encode(2 * mx + b % 2, 2 * my + b / 2, bits);
      coders[1].Encode(mx, my, bits);
      coders[2].Encode(mx, my, bits);
      if (!scan.EndMcu()) return IJL_BUFFER_TOO_SMALL;
    }
  }
  return EndStream(scan, output);
}

}  // namespace ovjpeg
