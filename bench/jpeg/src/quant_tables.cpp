#include "quant_tables.h"

#include <algorithm>

namespace ovjpeg {

const QuantTable kLuminanceExample = {
    16, 11, 10, 16, 24,  40,  51,  61,   //
    12, 12, 14, 19, 26,  58,  60,  55,   //
    14, 13, 16, 24, 40,  57,  69,  56,   //
    14, 17, 22, 29, 51,  87,  80,  62,   //
    18, 22, 37, 56, 68,  109, 103, 77,   //
    24, 35, 55, 64, 81,  104, 113, 92,   //
    49, 64, 78, 87, 103, 121, 120, 101,  //
    72, 92, 95, 98, 112, 100, 103, 99,
};

const QuantTable kChrominanceExample = {
    17, 18, 24, 47, 99, 99, 99, 99,  //
    18, 21, 26, 66, 99, 99, 99, 99,  //
    24, 26, 56, 99, 99, 99, 99, 99,  //
    47, 66, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,  //
    99, 99, 99, 99, 99, 99, 99, 99,
};

QuantTable ScaleQuantTable(const QuantTable& base, int quality) {
  quality = std::clamp(quality, 1, 100);
  const long scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
  QuantTable scaled{};
  for (int i = 0; i < 64; ++i) {
    const long entry = (base[i] * scale + 50) / 100;
    scaled[i] = static_cast<std::uint16_t>(std::clamp(entry, 1L, 255L));
  }
  return scaled;
}

QuantTable FromZigzag(const std::uint8_t* zigzag_bytes) {
  QuantTable table{};
  for (int k = 0; k < 64; ++k) table[kZigzag[k]] = zigzag_bytes[k];
  return table;
}

QuantDivisors MakeDivisors(const QuantTable& table) {
  QuantDivisors divisors{};
  for (int row = 0; row < 8; ++row) {
    for (int col = 0; col < 8; ++col) {
      const std::uint32_t d = 16u * std::max<std::uint16_t>(table[row * 8 + col], 1);
      int l = 0;
      while ((1u << l) < d) ++l;
      const int transposed = col * 8 + row;
      divisors.half[transposed] = static_cast<std::uint16_t>(d / 2);
      divisors.mul[transposed] = static_cast<std::uint16_t>(((1u << (15 + l)) + d - 1) / d);
      divisors.shift_mul[transposed] = static_cast<std::uint16_t>(1u << (17 - l));
    }
  }
  return divisors;
}

}  // namespace ovjpeg
