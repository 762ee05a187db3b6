// The numbers the GPU encoder hands the card: tables, constant buffers, the quad, and the
// widening of the read-back chroma runs to whole MCUs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "bench/gpu/core/coefficient_planes.h"
#include "bench/gpu/core/gpu_constants.h"

namespace vexmark::gpu {
namespace {

float Register(const std::vector<std::uint8_t>& buffer, int reg, int component) {
  float value;
  std::memcpy(&value, buffer.data() + reg * 16 + component * 4, 4);
  return value;
}

TEST(QuantisationTables, QualityExtremesClampAndScale) {
  const QuantTable32 lowest = ScaledLuminanceTable(1);
  EXPECT_EQ(ScaledLuminanceTable(0), lowest);
  EXPECT_EQ(ScaledLuminanceTable(-20), lowest);
  for (int entry : lowest) EXPECT_EQ(entry, 255);  // baseline tables stop at 255

  const QuantTable32 best = ScaledChrominanceTable(100);
  EXPECT_EQ(ScaledChrominanceTable(101), best);
  EXPECT_EQ(ScaledChrominanceTable(1000), best);
  for (int entry : best) EXPECT_EQ(entry, 1);

  // Quality 50 is the example table itself; 80 scales by 40 %, rounding half up.
  EXPECT_EQ(ScaledLuminanceTable(50)[0], 16);
  EXPECT_EQ(ScaledLuminanceTable(50)[63], 99);
  EXPECT_EQ(ScaledChrominanceTable(50)[0], 17);
  EXPECT_EQ(ScaledLuminanceTable(80)[0], 6);  // (16 x 40 + 50) / 100
  EXPECT_EQ(ScaledLuminanceTable(80)[2], 4);  // (10 x 40 + 50) / 100
  EXPECT_EQ(ScaledChrominanceTable(80)[63], 40);
  EXPECT_EQ(ScaledLuminanceTable(25)[0], 32);  // scale 200
}

TEST(QuantisationTables, ZigzagExamplesAreUnscaled) {
  EXPECT_EQ(ZigzagLuminanceExample()[0], 16);
  EXPECT_EQ(ZigzagLuminanceExample()[1], 11);  // (0, 1)
  EXPECT_EQ(ZigzagLuminanceExample()[2], 12);  // (1, 0)
  EXPECT_EQ(ZigzagLuminanceExample()[63], 99);
  EXPECT_EQ(ZigzagChrominanceExample()[2], 18);
}

TEST(PlaneConstantBuffer, RegistersHoldTheDctSizesAndReciprocals) {
  const std::vector<std::uint8_t> luma =
      PlaneConstantBuffer(LuminancePlaneSize(1280, 1024), ScaledLuminanceTable(80));
  ASSERT_EQ(luma.size(), 2592u);
  const double pi = std::acos(-1.0);
  for (int k = 0; k < 8; ++k) {
    for (int n = 0; n < 8; ++n) {
      const double a = k == 0 ? 1.0 / std::sqrt(8.0) : 0.5;
      const double expected = a * std::cos((2 * n + 1) * k * pi / 16);
      EXPECT_NEAR(Register(luma, n < 4 ? k : 8 + k, n % 4), expected, 1e-6) << k << "," << n;
    }
  }
  EXPECT_EQ(Register(luma, 16, 0), 1024.0f);
  EXPECT_EQ(Register(luma, 16, 1), 1280.0f);
  EXPECT_FLOAT_EQ(Register(luma, 16, 2), 1.0f / 1024);
  EXPECT_FLOAT_EQ(Register(luma, 16, 3), 1.0f / 1280);
  EXPECT_FLOAT_EQ(Register(luma, 17, 0), 1.0f / 6);   // q80 luminance (0, 0)
  EXPECT_FLOAT_EQ(Register(luma, 17, 1), 1.0f / 4);   // (0, 1): 11
  EXPECT_FLOAT_EQ(Register(luma, 32, 3), 1.0f / 40);  // (7, 7): 99
  for (std::size_t i = 33 * 16; i < luma.size(); ++i) ASSERT_EQ(luma[i], 0) << i;

  const std::vector<std::uint8_t> chroma =
      PlaneConstantBuffer(ChrominancePlaneSize(1280, 1024), ScaledChrominanceTable(50));
  EXPECT_EQ(Register(chroma, 16, 0), 512.0f);
  EXPECT_EQ(Register(chroma, 16, 1), 640.0f);
  EXPECT_FLOAT_EQ(Register(chroma, 16, 2), 2.0f / 1024);
  EXPECT_FLOAT_EQ(Register(chroma, 16, 3), 2.0f / 1280);
  EXPECT_FLOAT_EQ(Register(chroma, 17, 0), 1.0f / 17);
  EXPECT_FLOAT_EQ(Register(chroma, 17, 3), 1.0f / 47);
  EXPECT_FLOAT_EQ(Register(chroma, 32, 3), 1.0f / 99);
}

TEST(Quad, VerticesAndIndicesCoverTheViewport) {
  EXPECT_EQ(sizeof(kQuadVertices), 80u);
  EXPECT_EQ(sizeof(kQuadIndices), 144u);
  const QuadVertex& first = kQuadVertices[0];
  EXPECT_EQ(first.x, -1.0f);
  EXPECT_EQ(first.y, -1.0f);
  EXPECT_EQ(first.z, 0.5f);
  EXPECT_EQ(first.u, 0.0f);
  EXPECT_EQ(first.v, 1.0f);  // bottom-left of the screen is the texture's last row
  EXPECT_EQ(kQuadVertices[2].u, 1.0f);
  EXPECT_EQ(kQuadVertices[2].v, 0.0f);
  const std::uint32_t draw[6] = {3, 1, 0, 2, 1, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(kQuadIndices[i], draw[i]);
  EXPECT_EQ(kQuadIndices[35], 22u);
}

TEST(CoefficientPlanes, ShapesOfAlignedAndUnalignedFrames) {
  const CoefficientPlaneShape luma = LumaCoefficientShape(1368, 768);
  EXPECT_EQ(luma.row_bytes, 2736u);
  EXPECT_EQ(luma.coded_blocks_per_row, 171);
  const CoefficientPlaneShape chroma = ChromaCoefficientShape(1368, 776);
  EXPECT_EQ(chroma.texture_rows, 388);
  EXPECT_EQ(chroma.row_bytes, 1368u);
  EXPECT_EQ(chroma.blocks_per_row, 85);
  EXPECT_EQ(chroma.coded_blocks_per_row, 86);
  EXPECT_EQ(chroma.block_rows, 48);
  EXPECT_EQ(chroma.coded_block_rows, 49);
}

// A 24 x 24 frame: a 12 x 12 chroma plane, one whole block, two half blocks and a corner.
TEST(CoefficientPlanes, CopyStepsByPitchAndRebuildsTheHalfBlocksAsWholeOnes) {
  const CoefficientPlaneShape shape = ChromaCoefficientShape(24, 24);
  const std::uint32_t pitch = shape.row_bytes + 40;
  std::vector<std::uint8_t> mapped(pitch * shape.texture_rows, 0xEE);
  for (int row = 0; row < shape.texture_rows; ++row) {
    for (std::uint32_t i = 0; i < shape.row_bytes / 2; ++i) {
      const auto value = static_cast<std::int16_t>(row * 12 + i + 1);  // run index + 1
      std::memcpy(&mapped[row * pitch + i * 2], &value, 2);
    }
  }
  std::vector<std::int16_t> block(4 * 64, 7);
  CopyCoefficientPlane(mapped.data(), pitch, shape, block.data());
  const std::int16_t* whole = block.data();
  const std::int16_t* right = whole + 64;
  const std::int16_t* bottom = whole + 128;
  const std::int16_t* corner = whole + 192;
  for (int u = 0; u < 8; ++u) {
    for (int v = 0; v < 8; ++v) {
      SCOPED_TRACE(std::to_string(u) + "," + std::to_string(v));
      EXPECT_EQ(whole[u * 8 + v], u * 8 + v + 1);
      EXPECT_EQ(right[u * 8 + v], v % 2 ? 0 : 64 + u * 4 + v / 2 + 1);
      EXPECT_EQ(bottom[u * 8 + v], u % 2 ? 0 : 96 + (u / 2) * 8 + v + 1);
      EXPECT_EQ(corner[u * 8 + v], u % 2 || v % 2 ? 0 : 128 + (u / 2) * 4 + v / 2 + 1);
    }
  }
}

}  // namespace
}  // namespace vexmark::gpu
