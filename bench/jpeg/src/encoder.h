// The two encoding entries behind ijlWrite, on validated inputs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bench/jpeg/ijl.h"
#include "kernels.h"
#include "quant_tables.h"

namespace ovjpeg {

enum class PixelLayout {
  kRgb,   // 3 bytes: red, green, blue
  kBgrx,  // 4 bytes: blue, green, red, unused
};

struct RgbPicture {
  const std::uint8_t* pixels;  // top row first
  std::ptrdiff_t stride;       // bytes from one row to the next
  int width;
  int height;
  PixelLayout layout = PixelLayout::kRgb;
};

// Natural-layout coefficient planes Y, U, V (see bench/jpeg/ijl.h); they cover the picture.
struct CoefficientPlanes {
  const std::int16_t* plane[3];
  int blocks_per_row[3];
  int block_rows[3];
  int width;
  int height;
};

// The tables written into the stream and the quantiser's divisors made from them.
struct QuantTables {
  QuantTables(const QuantTable& luma_table, const QuantTable& chroma_table)
      : luma(luma_table),
        chroma(chroma_table),
        luma_divisors(MakeDivisors(luma_table)),
        chroma_divisors(MakeDivisors(chroma_table)) {}

  QuantTable luma;
  QuantTable chroma;
  QuantDivisors luma_divisors;
  QuantDivisors chroma_divisors;
};

struct Output {
  std::uint8_t* data;
  std::size_t capacity;
  std::size_t size;  // set on success
};

IJLERR EncodeRgb(const RgbPicture& picture, const QuantTables& tables, const Kernels& kernels,
                 Output& output);

IJLERR EncodeCoefficients(const CoefficientPlanes& planes, const QuantTables& tables,
                          const Kernels& kernels, Output& output);

}  // namespace ovjpeg
