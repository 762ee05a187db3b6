// The 32-bit Windows build: its SIMD kernel sets (SSE2 always, AVX2 where the CPU has it) code
// the same bytes as the scalar reference, from packed RGB and from BGRX, and the stream is framed
// as a JFIF file.
#include <gtest/gtest.h>

#include <vector>

#include "bench/jpeg/src/kernels.h"
#include "bench/tests/support/ijl_encode.h"

namespace ovjpeg::testing {
namespace {

std::vector<RgbImage> Pictures() {
  return {MakeDesktop(640, 360), MakePhoto(320, 240), MakeNoise(33, 17), MakeDesktop(1, 1)};
}

TEST(JpegKernelsWin32, Sse2IsAvailableAndAtLeastSse2IsChosen) {
  ASSERT_NE(KernelsFor(Isa::kSse2), nullptr);
  EXPECT_NE(BestKernels().isa, Isa::kScalar);
}

// Packed RGB and 32-bit BGRX input alike.
TEST(JpegKernelsWin32, SimdStreamsEqualTheScalarStream) {
  for (const RgbImage& image : Pictures()) {
    const std::vector<std::uint8_t> want = EncodeWithKernels(image, 80, kScalarKernels);
    ASSERT_FALSE(want.empty());
    for (Isa isa : {Isa::kScalar, Isa::kSse2, Isa::kAvx2}) {
      const Kernels* kernels = KernelsFor(isa);
      if (kernels == nullptr) continue;
      EXPECT_EQ(EncodeWithKernels(image, 80, *kernels), want)
          << kernels->name << " " << image.width;
      EXPECT_EQ(EncodeBgrxWithKernels(image, 3, 80, *kernels), want)
          << kernels->name << " bgrx " << image.width;
    }
  }
}

TEST(JpegKernelsWin32, StreamIsFramedAsJfif) {
  const std::vector<std::uint8_t> jpeg = EncodeWithIjl(MakePhoto(64, 48), 80);
  ASSERT_GT(jpeg.size(), 20u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);  // SOI
  EXPECT_EQ(jpeg[2], 0xFF);
  EXPECT_EQ(jpeg[3], 0xE0);  // APP0
  EXPECT_EQ(std::string(jpeg.begin() + 6, jpeg.begin() + 10), "JFIF");
  EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);  // EOI
}

}  // namespace
}  // namespace ovjpeg::testing
