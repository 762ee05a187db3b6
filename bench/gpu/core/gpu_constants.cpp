#include "bench/gpu/core/gpu_constants.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "bench/jpeg/src/quant_tables.h"

namespace vexmark::gpu {
namespace {

// cos(m pi / 16) / 2 for m = 0..8, from pi as a single-precision value; m = 4 is a(0).
std::array<float, 9> HalfCosines() {
  const float pi = 3.14159265f;
  std::array<float, 9> factor{};
  for (int m = 0; m <= 8; ++m) factor[m] = std::cos(static_cast<float>(m) * pi / 16.0f) / 2.0f;
  factor[4] = 0.353553390593f;
  factor[8] = 0.0f;
  return factor;
}

DctMatrix MakeDct() {
  const std::array<float, 9> factor = HalfCosines();
  DctMatrix d{};
  for (int k = 0; k < 8; ++k) {
    for (int n = 0; n < 8; ++n) {
      if (k == 0) {
        d[k][n] = factor[4];
        continue;
      }
      // Fold the angle (2n + 1) k pi / 16 into 0..pi / 2 to reuse the nine factors.
      int m = ((2 * n + 1) * k) % 32;
      if (m > 16) m = 32 - m;
      const bool negative = m > 8;
      if (negative) m = 16 - m;
      d[k][n] = negative ? -factor[m] : factor[m];
    }
  }
  return d;
}

// Widens the library's scaling, so the GPU reciprocals and the written DQT tables share one rule.
QuantTable32 Scale(const ovjpeg::QuantTable& base, int quality) {
  const ovjpeg::QuantTable scaled = ovjpeg::ScaleQuantTable(base, quality);
  QuantTable32 table{};
  std::copy(scaled.begin(), scaled.end(), table.begin());
  return table;
}

std::array<std::uint8_t, 64> Zigzag(const ovjpeg::QuantTable& natural) {
  std::array<std::uint8_t, 64> bytes{};
  for (int k = 0; k < 64; ++k) bytes[k] = static_cast<std::uint8_t>(natural[ovjpeg::kZigzag[k]]);
  return bytes;
}

void PutRegister(std::vector<std::uint8_t>& buffer, int reg, const float (&values)[4]) {
  std::memcpy(buffer.data() + reg * 16, values, sizeof(values));
}

}  // namespace

const DctMatrix& SinglePrecisionDct() {
  static const DctMatrix d = MakeDct();
  return d;
}

QuantTable32 ScaledLuminanceTable(int quality) { return Scale(ovjpeg::kLuminanceExample, quality); }
QuantTable32 ScaledChrominanceTable(int quality) {
  return Scale(ovjpeg::kChrominanceExample, quality);
}

const std::array<std::uint8_t, 64>& ZigzagLuminanceExample() {
  static const std::array<std::uint8_t, 64> bytes = Zigzag(ovjpeg::kLuminanceExample);
  return bytes;
}
const std::array<std::uint8_t, 64>& ZigzagChrominanceExample() {
  static const std::array<std::uint8_t, 64> bytes = Zigzag(ovjpeg::kChrominanceExample);
  return bytes;
}

PlaneSize LuminancePlaneSize(int width, int height) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  return {h, w, 1.0f / h, 1.0f / w};
}

PlaneSize ChrominancePlaneSize(int width, int height) {
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  return {h / 2.0f, w / 2.0f, 2.0f / h, 2.0f / w};
}

std::vector<std::uint8_t> PlaneConstantBuffer(const PlaneSize& size, const QuantTable32& table) {
  std::vector<std::uint8_t> buffer(kConstantBufferBytes, 0);
  const DctMatrix& d = SinglePrecisionDct();
  for (int k = 0; k < 8; ++k) {
    PutRegister(buffer, k, {d[k][0], d[k][1], d[k][2], d[k][3]});
    PutRegister(buffer, 8 + k, {d[k][4], d[k][5], d[k][6], d[k][7]});
  }
  PutRegister(buffer, kSizeRegister,
              {size.height, size.width, size.inverse_height, size.inverse_width});
  for (int r = 0; r < 16; ++r) {
    float reciprocal[4];
    for (int i = 0; i < 4; ++i) reciprocal[i] = 1.0f / static_cast<float>(table[r * 4 + i]);
    PutRegister(buffer, kReciprocalRegister + r, reciprocal);
  }
  return buffer;
}

const std::array<QuadVertex, 4> kQuadVertices = {{
    {-1.0f, -1.0f, 0.5f, 0.0f, 1.0f},
    {1.0f, -1.0f, 0.5f, 1.0f, 1.0f},
    {1.0f, 1.0f, 0.5f, 1.0f, 0.0f},
    {-1.0f, 1.0f, 0.5f, 0.0f, 0.0f},
}};

const std::array<std::uint32_t, 36> kQuadIndices = {3,  1,  0,  2,  1,  3,  6,  4,  5,  7,  4,  6,
                                                    11, 9,  8,  10, 9,  11, 14, 12, 13, 15, 12, 14,
                                                    19, 17, 16, 18, 17, 19, 22, 20, 21, 23, 20, 22};

}  // namespace vexmark::gpu
