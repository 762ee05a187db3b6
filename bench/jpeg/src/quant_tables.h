// Quantisation: the standard's example tables, their scaling by quality, the zig-zag order and
// the reciprocal divisors the forward transform's quantiser uses.
#pragma once

#include <array>
#include <cstdint>

namespace ovjpeg {

using Block = std::array<std::int16_t, 64>;
using QuantTable = std::array<std::uint16_t, 64>;  // natural order

// kZigzag[k] is the natural (row-major) index of the k-th coefficient in zig-zag order.
inline constexpr std::array<std::uint8_t, 64> kZigzag = [] {
  std::array<std::uint8_t, 64> zz{};
  int k = 0;
  for (int diagonal = 0; diagonal < 15; ++diagonal) {
    const int low = diagonal < 8 ? 0 : diagonal - 7;
    const int high = diagonal < 8 ? diagonal : 7;
    for (int i = 0; i <= high - low; ++i) {
      const int row = (diagonal % 2 == 1) ? low + i : high - i;
      zz[k++] = static_cast<std::uint8_t>(row * 8 + diagonal - row);
    }
  }
  return zz;
}();

// Tables K.1 (luminance) and K.2 (chrominance), natural order.
extern const QuantTable kLuminanceExample;
extern const QuantTable kChrominanceExample;

// The IJG quality rule: quality clamped to 1..100, scale 5000 / q below 50 and 200 - 2q from
// 50 up, entry = (base x scale + 50) / 100 limited to 1..255 (baseline tables are 8-bit).
QuantTable ScaleQuantTable(const QuantTable& base, int quality);

// Natural-order table from 64 zig-zag-ordered bytes.
QuantTable FromZigzag(const std::uint8_t* zigzag_bytes);

// What the quantiser needs per coefficient, laid out in the transposed order in which the
// forward transform delivers coefficients (index 8 x horizontal + vertical frequency). The
// transform's output carries 4 fraction bits, so each entry divides by d = 16 q:
//   |F| -> ((|F| + d / 2) * mul >> 16) * shift_mul >> 16, which equals (|F| + d / 2) / d for
// every |F| + d / 2 below 2^15 (mul = ceil(2^(15 + l) / d) with 2^(l - 1) < d <= 2^l).
struct QuantDivisors {
  alignas(32) std::uint16_t half[64];
  alignas(32) std::uint16_t mul[64];
  alignas(32) std::uint16_t shift_mul[64];
};

QuantDivisors MakeDivisors(const QuantTable& table);

// The scalar form of the quantiser for one coefficient with 4 fraction bits.
inline std::int16_t Quantize(int value, std::uint16_t half, std::uint16_t mul,
                             std::uint16_t shift_mul) {
  const std::uint32_t magnitude = static_cast<std::uint32_t>(value < 0 ? -value : value);
  std::uint32_t q = ((magnitude + half) * mul) >> 16;
  q = (q * shift_mul) >> 16;
  return static_cast<std::int16_t>(value < 0 ? -static_cast<int>(q) : static_cast<int>(q));
}

}  // namespace ovjpeg
