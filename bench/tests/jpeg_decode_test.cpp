// Our streams decode with libjpeg-turbo to the right size and quality, and compare with what
// libjpeg-turbo itself makes of the same picture at the same settings.
#include <gtest/gtest.h>

#include <string>

#include "bench/tests/support/ijl_encode.h"
#include "bench/tests/support/turbo.h"

namespace ovjpeg::testing {
namespace {

struct Case {
  std::string name;
  RgbImage image;
  double min_psnr;
};

void ExpectDecodes(const Case& c) {
  SCOPED_TRACE(c.name);
  const std::vector<std::uint8_t> ours = EncodeWithIjl(c.image, 80);
  ASSERT_FALSE(ours.empty());
  const std::optional<RgbImage> decoded = DecodeWithTurbo(ours);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(decoded->width, c.image.width);
  EXPECT_EQ(decoded->height, c.image.height);
  const double psnr = Psnr(c.image, *decoded);
  EXPECT_GE(psnr, c.min_psnr);

  // Same settings in libjpeg-turbo: quality may not be worse, size must be close. Tiny pictures
  // have too few samples for a meaningful comparison.
  if (c.image.width * c.image.height < 4096) return;
  const std::vector<std::uint8_t> theirs = EncodeWithTurbo(c.image, 80);
  const double their_psnr = Psnr(c.image, *DecodeWithTurbo(theirs));
  EXPECT_GE(psnr, their_psnr - 0.1);
  EXPECT_NEAR(static_cast<double>(ours.size()) / static_cast<double>(theirs.size()), 1.0, 0.02);
}

TEST(JpegDecode, SmallAndOddSizesDecodeWithTheirDimensions) {
  for (const auto& [w, h] : {std::pair{1, 1}, {17, 9}, {2, 2}, {16, 16}, {33, 47}, {255, 3}}) {
    ExpectDecodes(
        {"desktop " + std::to_string(w) + "x" + std::to_string(h), MakeDesktop(w, h), 20.0});
    ExpectDecodes({"photo " + std::to_string(w) + "x" + std::to_string(h), MakePhoto(w, h), 20.0});
  }
}

TEST(JpegDecode, FullHdDesktopPhotoAndNoise) {
  ExpectDecodes({"desktop 1920x1080", MakeDesktop(1920, 1080), 30.0});
  ExpectDecodes({"photo 1920x1080", MakePhoto(1920, 1080), 34.0});
  ExpectDecodes({"noise 640x480", MakeNoise(640, 480), 10.0});
  ExpectDecodes({"photo 1366x768", MakePhoto(1366, 768), 34.0});  // edge MCUs on both sides
}

TEST(JpegDecode, LargestTile) {
  ExpectDecodes({"desktop 2048x1280", MakeDesktop(2048, 1280), 30.0});
}

}  // namespace
}  // namespace ovjpeg::testing
