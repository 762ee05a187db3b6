// The SIMD kernel sets against the scalar reference (bit for bit), and the reference against
// the exact arithmetic it stands for.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "bench/jpeg/src/kernels.h"
#include "bench/jpeg/src/transform_constants.h"
#include "bench/tests/support/ijl_encode.h"

namespace ovjpeg::testing {
namespace {

std::vector<const Kernels*> SimdSets() {
  std::vector<const Kernels*> sets;
  for (Isa isa : {Isa::kSse2, Isa::kAvx2, Isa::kAvx512}) {
    if (const Kernels* k = KernelsFor(isa)) sets.push_back(k);
  }
  return sets;
}

TEST(JpegKernels, ThisHostRunsASimdSetAndPicksTheWidest) {
  ASSERT_FALSE(SimdSets().empty());
  EXPECT_EQ(&BestKernels(), SimdSets().back());
}

// Packed RGB on every set and 4-byte BGRX of the same colours on every set, the scalar one
// included, give the scalar RGB samples.
TEST(JpegKernels, ColourConversionMatchesReference) {
  std::mt19937 random(7);
  RgbImage mcu{16, 16, std::vector<std::uint8_t>(16 * 48)};
  std::vector<std::uint8_t> rgb(16 * 60);  // stride 60: rows are not packed
  for (int trial = 0; trial < 2000; ++trial) {
    for (auto& byte : mcu.pixels) {
      // Extremes often, to reach the ends of every range.
      const unsigned r = random();
      byte = static_cast<std::uint8_t>(r % 4 == 0 ? 0 : r % 4 == 1 ? 255 : (r >> 8) & 0xFF);
    }
    for (int row = 0; row < 16; ++row) std::memcpy(&rgb[row * 60], &mcu.pixels[row * 48], 48);
    const std::vector<std::uint8_t> bgrx = ToBgrx(mcu, 8);  // stride 72
    std::int16_t want_luma[256], want_chroma[128];
    kScalarKernels.convert_mcu(rgb.data(), 60, want_luma, want_chroma);
    std::vector<const Kernels*> sets = SimdSets();
    sets.push_back(&kScalarKernels);
    for (const Kernels* k : sets) {
      std::int16_t luma[256], chroma[128];
      k->convert_mcu(rgb.data(), 60, luma, chroma);
      ASSERT_EQ(std::memcmp(luma, want_luma, sizeof luma), 0) << k->name;
      ASSERT_EQ(std::memcmp(chroma, want_chroma, sizeof chroma), 0) << k->name;
      k->convert_mcu_bgrx(bgrx.data(), 72, luma, chroma);
      ASSERT_EQ(std::memcmp(luma, want_luma, sizeof luma), 0) << k->name << " bgrx";
      ASSERT_EQ(std::memcmp(chroma, want_chroma, sizeof chroma), 0) << k->name << " bgrx";
    }
  }
}

TEST(JpegKernels, ColourConversionIsWithinRoundingOfTheJfifFormulas) {
  std::mt19937 random(8);
  std::uint8_t rgb[16 * 48];
  for (int trial = 0; trial < 200; ++trial) {
    for (auto& byte : rgb) byte = static_cast<std::uint8_t>(random());
    std::int16_t luma[256], chroma[128];
    kScalarKernels.convert_mcu(rgb, 48, luma, chroma);
    for (int i = 0; i < 256; ++i) {
      const std::uint8_t* p = &rgb[(i / 16) * 48 + (i % 16) * 3];
      const double y = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2] - 128;
      ASSERT_NEAR(luma[i] / 16.0, y, 0.04);
    }
    for (int i = 0; i < 64; ++i) {
      double sum[3] = {0, 0, 0};
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          for (int c = 0; c < 3; ++c)
            sum[c] += rgb[(2 * (i / 8) + dy) * 48 + (2 * (i % 8) + dx) * 3 + c];
        }
      }
      const double cb = (-0.168736 * sum[0] - 0.331264 * sum[1] + 0.5 * sum[2]) / 4;
      const double cr = (0.5 * sum[0] - 0.418688 * sum[1] - 0.081312 * sum[2]) / 4;
      ASSERT_NEAR(chroma[(i / 8) * 16 + i % 8] / 16.0, cb, 0.04);
      ASSERT_NEAR(chroma[(i / 8) * 16 + 8 + i % 8] / 16.0, cr, 0.04);
    }
  }
}

// Samples as the colour conversion can produce them: 16 (v - 128) plus fraction bits.
void RandomSamples(std::mt19937& random, std::int16_t* samples, int kind) {
  for (int i = 0; i < 128; ++i) {
    const int extreme = (random() & 1) ? -2048 : 2032;
    const int value = static_cast<int>(random() % 4081) - 2048;
    samples[i] = static_cast<std::int16_t>(kind == 0 ? value : kind == 1 ? extreme : value / 64);
  }
}

TEST(JpegKernels, TransformAndQuantiserMatchReference) {
  std::mt19937 random(9);
  for (int quality : {1, 10, 50, 80, 95, 100}) {
    const QuantDivisors q = MakeDivisors(ScaleQuantTable(kLuminanceExample, quality));
    for (int trial = 0; trial < 3000; ++trial) {
      alignas(32) std::int16_t samples[128];
      RandomSamples(random, samples, trial % 3);
      CodedBlock want[2];
      kScalarKernels.fdct_quantize_pair(samples, q, want);
      for (const Kernels* k : SimdSets()) {
        CodedBlock got[2];
        k->fdct_quantize_pair(samples, q, got);
        for (int b = 0; b < 2; ++b) {
          ASSERT_EQ(std::memcmp(got[b].coefficient, want[b].coefficient, 128), 0) << k->name;
          ASSERT_EQ(got[b].mask, want[b].mask) << k->name;
        }
      }
    }
  }
}

TEST(JpegKernels, ZigzagEntriesMatchReference) {
  std::mt19937 random(11);
  const QuantDivisors q = MakeDivisors(ScaleQuantTable(kLuminanceExample, 100));
  for (int trial = 0; trial < 3000; ++trial) {
    alignas(32) std::int16_t samples[128];
    RandomSamples(random, samples, trial % 3);
    CodedBlock blocks[2];
    kScalarKernels.fdct_quantize_pair(samples, q, blocks);
    std::uint16_t want[64];
    std::uint64_t want_mask;
    ZigzagEntriesReference(blocks[0].coefficient, want, &want_mask);
    for (const Kernels* k : SimdSets()) {
      if (k->zigzag_entries == nullptr) continue;
      std::uint16_t got[64];
      std::uint64_t got_mask;
      k->zigzag_entries(blocks[0].coefficient, got, &got_mask);
      ASSERT_EQ(std::memcmp(got, want, sizeof got), 0) << k->name;
      ASSERT_EQ(got_mask, want_mask) << k->name;
    }
  }
}

TEST(JpegKernels, CoefficientMaskMatchesReferenceAndFlagsOutOfRange) {
  std::mt19937 random(10);
  for (int trial = 0; trial < 5000; ++trial) {
    alignas(32) std::int16_t block[64] = {};
    const int count = static_cast<int>(random() % 65);
    const int limit = trial % 4 == 0 ? 32768 : 1024;
    for (int i = 0; i < count; ++i) {
      block[random() % 64] =
          static_cast<std::int16_t>(static_cast<int>(random() % (2 * limit)) - limit);
    }
    if (trial % 7 == 0) block[0] = -1024;  // in range for DC only
    std::uint64_t want_mask;
    const bool want = kScalarKernels.coefficient_mask(block, &want_mask);
    for (const Kernels* k : SimdSets()) {
      std::uint64_t mask;
      ASSERT_EQ(k->coefficient_mask(block, &mask), want) << k->name;
      ASSERT_EQ(mask, want_mask) << k->name;
    }
  }
}

TEST(JpegKernels, WholeStreamsAreIdenticalOnEverySet) {
  const RgbImage images[] = {MakeDesktop(333, 211), MakePhoto(640, 480), MakeNoise(97, 31),
                             MakeDesktop(1, 1), MakePhoto(17, 9)};
  for (const RgbImage& image : images) {
    const std::vector<std::uint8_t> want = EncodeWithKernels(image, 80, kScalarKernels);
    ASSERT_FALSE(want.empty());
    for (const Kernels* k : SimdSets()) {
      EXPECT_EQ(EncodeWithKernels(image, 80, *k), want) << k->name << " " << image.width;
    }
  }
}

// Every width and height around the MCU and block edges, with and without row padding.
TEST(JpegKernels, BgrxStreamsEqualThePackedRgbStreamOnEverySet) {
  std::vector<const Kernels*> sets = SimdSets();
  sets.push_back(&kScalarKernels);
  int pad = 0;
  for (int width : {1, 2, 7, 8, 9, 15, 16, 17, 31, 33, 64, 97}) {
    for (int height : {1, 3, 8, 15, 16, 17, 40}) {
      const RgbImage image = (width + height) % 2 ? MakeDesktop(width, height, width * height)
                                                  : MakePhoto(width, height, width + height);
      const std::vector<std::uint8_t> want = EncodeWithKernels(image, 80, kScalarKernels);
      ASSERT_FALSE(want.empty());
      pad = (pad + 3) % 9;
      for (const Kernels* k : sets) {
        ASSERT_EQ(EncodeBgrxWithKernels(image, pad, 80, *k), want)
            << k->name << " " << width << " x " << height << " pad " << pad;
      }
    }
  }
}

TEST(JpegKernels, QuantiserEqualsRoundedDivisionForEveryTableEntry) {
  for (int entry = 1; entry <= 255; ++entry) {
    QuantTable table;
    table.fill(static_cast<std::uint16_t>(entry));
    const QuantDivisors q = MakeDivisors(table);
    const int d = 16 * entry;
    for (int magnitude = 0; magnitude + d / 2 < 32768; ++magnitude) {
      const int want = (magnitude + d / 2) / d;
      const std::int16_t got = Quantize(magnitude, q.half[0], q.mul[0], q.shift_mul[0]);
      const std::int16_t negative = Quantize(-magnitude, q.half[0], q.mul[0], q.shift_mul[0]);
      if (got != want || negative != -want) {
        FAIL() << "entry " << entry << " magnitude " << magnitude << ": " << got;
      }
    }
  }
}

TEST(JpegKernels, TransformConstantsAreTheRoundedCosines) {
  namespace c = constants;
  auto scaled = [](double v) { return static_cast<int>(std::lround(v * 8192)); };
  const double pi = std::acos(-1.0);
  EXPECT_EQ(c::kK4, std::lround(16384 / std::sqrt(8.0)));
  const int want[8] = {0, c::kC1, c::kC2, c::kC3, 0, c::kC5, c::kC6, c::kC7};
  for (int j : {1, 2, 3, 5, 6, 7}) EXPECT_EQ(want[j], scaled(std::cos(j * pi / 16))) << j;
}

// Exact orthonormal 2-D DCT of an 8 x 8 block of values with 4 fraction bits.
void ExactDct(const std::int16_t* samples, double* out) {
  const double pi = std::acos(-1.0);
  for (int u = 0; u < 8; ++u) {
    for (int v = 0; v < 8; ++v) {
      double sum = 0;
      for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
          sum += samples[y * 16 + x] / 16.0 * std::cos((2 * y + 1) * u * pi / 16) *
                 std::cos((2 * x + 1) * v * pi / 16);
        }
      }
      out[u * 8 + v] = sum * (u == 0 ? std::sqrt(0.125) : 0.5) * (v == 0 ? std::sqrt(0.125) : 0.5);
    }
  }
}

// With unit quantisation the kernel returns round(F), so every error beyond 1/2 is the
// transform's own. libjpeg's accurate integer DCT keeps 2 fraction bits between its passes, so
// its result can be off by 1/8 before the final rounding; ours must do at least as well.
TEST(JpegKernels, TransformIsAtLeastAsAccurateAsAnAccurateIntegerDct) {
  std::mt19937 random(11);
  double worst = 0, total = 0;
  int count = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    alignas(32) std::int16_t samples[128];
    RandomSamples(random, samples, trial % 3);
    QuantTable ones;
    ones.fill(1);
    const QuantDivisors q = MakeDivisors(ones);
    CodedBlock blocks[2];
    kScalarKernels.fdct_quantize_pair(samples, q, blocks);
    double exact[64];
    ExactDct(samples, exact);
    for (int u = 0; u < 8; ++u) {
      for (int v = 0; v < 8; ++v) {
        const double error = std::abs(blocks[0].coefficient[v * 8 + u] - exact[u * 8 + v]);
        worst = std::max(worst, error);
        total += error;
        ++count;
      }
    }
  }
  EXPECT_LE(worst, 0.5 + 1.0 / 8);
  EXPECT_LE(total / count, 0.26);  // rounding alone averages 0.25
}

}  // namespace
}  // namespace ovjpeg::testing
