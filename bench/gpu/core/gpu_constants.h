// What the GPU encoder puts into its buffers: the DCT matrix, the quantisation tables for a
// quality, the per-plane constant buffer, and the full-viewport quad.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vexmark::gpu {

using DctMatrix = std::array<std::array<float, 8>, 8>;  // [frequency k][sample n]
using QuantTable32 = std::array<std::int32_t, 64>;      // natural (row-major) order

// D[k][n] = a(k) cos((2n + 1) k pi / 16) in single precision, a(0) = 1 / sqrt(8), else 1 / 2.
const DctMatrix& SinglePrecisionDct();

// The example tables scaled for `quality` by the IJG rule (quality clamped to 1..100; entries
// limited to 1..255 because the tables are baseline).
QuantTable32 ScaledLuminanceTable(int quality);
QuantTable32 ScaledChrominanceTable(int quality);
// The unscaled example tables in zig-zag order, as the entropy coder takes them.
const std::array<std::uint8_t, 64>& ZigzagLuminanceExample();
const std::array<std::uint8_t, 64>& ZigzagChrominanceExample();

// Constant buffer of one plane, in 16-byte registers: 0-7 columns 0-3 of D (row k in register
// k), 8-15 columns 4-7, 16 the plane's height, width, 1 / height, 1 / width, 17-32 1 / q.
inline constexpr std::size_t kConstantBufferBytes = 2592;
inline constexpr int kSizeRegister = 16;
inline constexpr int kReciprocalRegister = 17;

struct PlaneSize {
  float height, width, inverse_height, inverse_width;
};
PlaneSize LuminancePlaneSize(int width, int height);
PlaneSize ChrominancePlaneSize(int width, int height);

std::vector<std::uint8_t> PlaneConstantBuffer(const PlaneSize& size, const QuantTable32& table);

struct QuadVertex {
  float x, y, z;  // POSITION
  float u, v;     // TEXCOORD
};
static_assert(sizeof(QuadVertex) == 20);

extern const std::array<QuadVertex, 4> kQuadVertices;
extern const std::array<std::uint32_t, 36> kQuadIndices;
inline constexpr std::uint32_t kQuadIndexCount = 6;  // the first six indices cover the quad

}  // namespace vexmark::gpu
