// The raw coefficient entry: what goes in comes out of libjpeg's coefficient API unchanged,
// with the tables that produced it, for aligned and unaligned pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "bench/jpeg/ijl.h"
#include "bench/jpeg/src/quant_tables.h"
#include "bench/tests/support/turbo.h"

namespace ovjpeg::testing {
namespace {

struct Planes {
  int width, height;
  int columns[3], rows[3];
  std::vector<std::int16_t> data[3];
};

// Sparse coefficients, larger at low frequencies, as a quantised picture has them.
Planes RandomPlanes(int width, int height, std::uint32_t seed, int extra_columns = 0) {
  std::mt19937 random(seed);
  Planes p{width, height, {}, {}, {}};
  p.columns[0] = (width + 7) / 8 + extra_columns;
  p.rows[0] = (height + 7) / 8;
  p.columns[1] = p.columns[2] = (width + 15) / 16 + extra_columns;
  p.rows[1] = p.rows[2] = (height + 15) / 16;
  for (int c = 0; c < 3; ++c) {
    p.data[c].resize(static_cast<std::size_t>(p.columns[c]) * p.rows[c] * 64);
    for (std::size_t i = 0; i < p.data[c].size(); ++i) {
      const int k = static_cast<int>(i % 64);
      const int range = k == 0 ? 2047 : (k < 10 ? 400 : 40);
      if (k == 0 || random() % 4 == 0) {
        p.data[c][i] = static_cast<std::int16_t>(static_cast<int>(random() % (range + 1)) -
                                                 (k == 0 ? 1024 : range / 2));
      }
    }
  }
  return p;
}

std::vector<std::uint8_t> Zigzag(const QuantTable& natural) {
  std::vector<std::uint8_t> bytes(64);
  for (int k = 0; k < 64; ++k) bytes[k] = static_cast<std::uint8_t>(natural[kZigzag[k]]);
  return bytes;
}

// Drives ijlWrite as the GPU encoder does; the status, and the stream on success.
IJLERR EncodePlanes(const Planes& p, int quality, std::vector<std::uint8_t>& stream) {
  static const std::vector<std::uint8_t> luma = Zigzag(kLuminanceExample);
  static const std::vector<std::uint8_t> chroma = Zigzag(kChrominanceExample);
  stream.assign(static_cast<std::size_t>(p.width) * p.height * 3 + 4096, 0);
  JPEG_CORE_PROPERTIES props;
  ijlInit(&props);
  props.DIBWidth = p.width;
  props.DIBHeight = p.height;
  props.JPGBytes = stream.data();
  props.JPGSizeBytes = static_cast<int>(stream.size());
  props.JPGWidth = p.width;
  props.JPGHeight = p.height;
  props.jquality = quality;
  props.use_external_qtables = 1;
  props.qtables[0] = luma.data();
  props.qtables[1] = chroma.data();
  props.raw_coefficients = 1;
  for (int c = 0; c < 3; ++c) {
    props.raw_planes[c] = p.data[c].data();
    props.raw_blocks_per_row[c] = p.columns[c];
    props.raw_block_rows[c] = p.rows[c];
  }
  const IJLERR status = ijlWrite(&props, IJL_JBUFF_WRITEWHOLEIMAGE);
  ijlFree(&props);
  stream.resize(status == IJL_OK ? static_cast<std::size_t>(props.JPGSizeBytes) : 0);
  return status;
}

void ExpectRoundTrip(const Planes& p, int quality) {
  SCOPED_TRACE(std::to_string(p.width) + "x" + std::to_string(p.height));
  std::vector<std::uint8_t> stream;
  ASSERT_EQ(EncodePlanes(p, quality, stream), IJL_OK);
  const std::optional<DecodedCoefficients> decoded = ReadCoefficients(stream);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, p.width);
  EXPECT_EQ(decoded->height, p.height);
  const QuantTable tables[3] = {ScaleQuantTable(kLuminanceExample, quality),
                                ScaleQuantTable(kChrominanceExample, quality),
                                ScaleQuantTable(kChrominanceExample, quality)};
  for (int c = 0; c < 3; ++c) {
    EXPECT_TRUE(std::equal(tables[c].begin(), tables[c].end(), decoded->quant_tables[c].begin()));
    for (int row = 0; row < decoded->block_rows[c]; ++row) {
      for (int col = 0; col < decoded->blocks_per_row[c]; ++col) {
        const std::int16_t* want =
            &p.data[c][(static_cast<std::size_t>(row) * p.columns[c] + col) * 64];
        const std::int16_t* got =
            &decoded->planes[c][(static_cast<std::size_t>(row) * decoded->blocks_per_row[c] + col) *
                                64];
        ASSERT_TRUE(std::equal(want, want + 64, got))
            << "component " << c << " block " << col << "," << row;
      }
    }
  }
  EXPECT_TRUE(DecodeWithTurbo(stream).has_value());
}

TEST(JpegCoefficients, AlignedPlanesRoundTripExactly) {
  ExpectRoundTrip(RandomPlanes(64, 48, 1), 80);
  ExpectRoundTrip(RandomPlanes(1920, 1088, 2), 80);
  ExpectRoundTrip(RandomPlanes(32, 32, 3), 25);
}

TEST(JpegCoefficients, UnalignedPicturesArePaddedToWholeMcus) {
  ExpectRoundTrip(RandomPlanes(1368, 768, 4), 80);  // a multiple of 8, not of 16
  ExpectRoundTrip(RandomPlanes(17, 9, 5), 80);
  ExpectRoundTrip(RandomPlanes(1, 1, 6), 80);
  ExpectRoundTrip(RandomPlanes(40, 24, 7, 3), 60);  // planes wider than the picture needs
}

TEST(JpegCoefficients, OutOfRangeCoefficientsAreClampedToBaseline) {
  Planes p = RandomPlanes(16, 16, 8);
  p.data[0][0] = 30000;   // DC of the first luma block
  p.data[0][70] = -5000;  // an AC of the second
  p.data[1][1] = 1024;
  std::vector<std::uint8_t> stream;
  ASSERT_EQ(EncodePlanes(p, 80, stream), IJL_OK);
  const std::optional<DecodedCoefficients> decoded = ReadCoefficients(stream);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->planes[0][0], 1023);
  EXPECT_EQ(decoded->planes[0][70], -1023);
  EXPECT_EQ(decoded->planes[1][1], 1023);
  EXPECT_EQ(decoded->planes[0][1], p.data[0][1]);
}

TEST(JpegCoefficients, PlanesThatDoNotCoverThePictureAreRefused) {
  Planes p = RandomPlanes(48, 32, 9);
  p.columns[0] -= 1;
  std::vector<std::uint8_t> stream;
  EXPECT_EQ(EncodePlanes(p, 80, stream), IJL_INVALID_PARAMETER);
  p = RandomPlanes(48, 32, 9);
  p.rows[2] -= 1;
  EXPECT_EQ(EncodePlanes(p, 80, stream), IJL_INVALID_PARAMETER);
}

}  // namespace
}  // namespace ovjpeg::testing
