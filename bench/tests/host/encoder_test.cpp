#include "bench/core/vnc_encoder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "bench/core/jpeg_compress.h"
#include "bench/core/rgb_translation.h"
#include "bench/tests/support/turbo.h"
#include "pixel_formats.h"
#include "vexmark_world.h"

namespace vexmark::test {
namespace {

std::vector<std::uint8_t> Rgb16(std::uint16_t pixel) {
  std::uint8_t source[2];
  std::memcpy(source, &pixel, 2);
  std::vector<std::uint8_t> rgb(3);
  PixelFormat f = Format565();
  TranslateRowToRgb(source, rgb.data(), 1, f, f, false);
  return rgb;
}

TEST(RgbTranslation, SixteenBitExamples) {
  EXPECT_EQ(Rgb16(0xFFFF), (std::vector<std::uint8_t>{255, 255, 255}));
  EXPECT_EQ(Rgb16(0x0000), (std::vector<std::uint8_t>{0, 0, 0}));
  EXPECT_EQ(Rgb16(0x07E0), (std::vector<std::uint8_t>{0, 255, 0}));
  EXPECT_EQ(Rgb16(0x8010), (std::vector<std::uint8_t>{131, 0, 131}));
}

TEST(RgbTranslation, ByteOrderAndPaths) {
  PixelFormat little = Format32();
  PixelFormat big = little;
  big.bigEndian = 1;
  const std::uint8_t pixel[4] = {0x30, 0x20, 0x10, 0x00};  // 0x00102030: red 10, green 20, blue 30
  std::uint8_t rgb[3];
  TranslateRowToRgb(pixel, rgb, 1, little, little, true);
  EXPECT_EQ(std::vector<std::uint8_t>(rgb, rgb + 3), (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
  TranslateRowToRgb(pixel, rgb, 1, little, little, false);
  EXPECT_EQ(std::vector<std::uint8_t>(rgb, rgb + 3), (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
  // A pixel in the other byte order: the fast path shifts from the other end, the general path
  // swaps first; both read the same colour.
  const std::uint8_t swapped[4] = {0x00, 0x10, 0x20, 0x30};
  TranslateRowToRgb(swapped, rgb, 1, little, big, true);
  EXPECT_EQ(std::vector<std::uint8_t>(rgb, rgb + 3), (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
  TranslateRowToRgb(swapped, rgb, 1, little, big, false);
  EXPECT_EQ(std::vector<std::uint8_t>(rgb, rgb + 3), (std::vector<std::uint8_t>{0x10, 0x20, 0x30}));
  std::uint8_t rgba[4];
  TranslateRowToRgba(pixel, rgba, 1, little);
  EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 4),
            (std::vector<std::uint8_t>{0x10, 0x20, 0x30, 255}));
}

// The fast path of the common layout gives what the general path gives, for every row length,
// and writes nothing past the row.
TEST(RgbTranslation, FastPathEqualsTheGeneralPathForEveryRowLength) {
  const PixelFormat format = Format32();
  for (int width = 1; width <= 13; ++width) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 4);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 37 + width);
    std::vector<std::uint8_t> fast(width * 3 + 1, 0xEE), general(width * 3 + 1, 0xEE);
    TranslateRowToRgb(row.data(), fast.data(), width, format, format, true);
    TranslateRowToRgb(row.data(), general.data(), width, format, format, false);
    EXPECT_EQ(fast, general) << "width " << width;
    EXPECT_EQ(fast.back(), 0xEE) << "nothing written past the row, width " << width;
  }
}

// The encoder on its own, with the simulated screen's display settings.
class EncoderTest : public ::testing::Test {
 protected:
  vncEncoder& Make(int width, int height, int bits) {
    encoder_.reset();  // it logs into the world it was made in
    world_ = std::make_unique<VexmarkWorld>(
        WorldOptions{.width = width, .height = height, .bits = bits});
    encoder_ = std::make_unique<vncEncoder>(
        world_->log, EncoderPorts{world_->gdi, world_->kmd, world_->gpu, 1}, world_->state);
    encoder_->Init(false);
    return *encoder_;
  }

  std::unique_ptr<VexmarkWorld> world_;
  std::unique_ptr<vncEncoder> encoder_;
};

std::vector<std::uint8_t> Frame32(int width, int height) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(width) * height * 4);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 / 5);
  return frame;
}

TEST_F(EncoderTest, WideDesktopIsCutIntoFourTilesAndReportsTheLast) {
  vncEncoder& encoder = Make(2560, 1440, 32);
  encoder.SetLocalFormat(Format32(), 2560, 1440);
  std::vector<std::uint8_t> frame = Frame32(2560, 1440);
  std::vector<std::uint8_t> jpeg(frame.size());
  std::uint32_t size = encoder.Encode(frame, jpeg, {0, 0, 2560, 1440});

  // The last tile, 512 x 160 at (2048, 1280), coded on its own.
  std::vector<std::uint8_t> rgb(512 * 160 * 3);
  for (int y = 0; y < 160; ++y) {
    TranslateRowToRgb(&frame[(static_cast<std::size_t>(1280 + y) * 2560 + 2048) * 4],
                      &rgb[static_cast<std::size_t>(y) * 512 * 3], 512, Format32(), Format32(),
                      true);
  }
  std::vector<std::uint8_t> last(rgb.size());
  int expected = JpegCompress(rgb.data(), 512, 160, last.data(), last.size(), 80);
  ASSERT_GT(expected, 0);
  EXPECT_EQ(size, static_cast<std::uint32_t>(expected));
  EXPECT_EQ(0, std::memcmp(jpeg.data(), last.data(), size));
}

// A tile inside a frame whose rows are padded: the BGRX desktop is coded from the frame in
// place, other layouts through their translation; all code the tile's colours as packed RGB.
TEST_F(EncoderTest, TilesAreReadWithTheFramesStrideInEveryLayout) {
  PixelFormat rgbx = Format32();  // 0x00BBGGRR: not the library's BGRX order
  rgbx.redShift = 0;
  rgbx.blueShift = 16;
  const Rect tile{3, 2, 61, 37};
  const int w = tile.right - tile.left, h = tile.bottom - tile.top;
  for (const PixelFormat& f : {Format32(), rgbx, Format565()}) {
    vncEncoder& encoder = Make(61, 37, f.bitsPerPixel);
    const std::size_t pixel_bytes = f.bitsPerPixel / 8;
    const std::size_t stride = 61 * pixel_bytes + 6;
    encoder.SetLocalFormat(f, 61, 37, static_cast<std::uint32_t>(stride));
    std::vector<std::uint8_t> frame(stride * 37);
    for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7 / 5);
    std::vector<std::uint8_t> jpeg(frame.size() * 2);
    const std::uint32_t size = encoder.Encode(frame, jpeg, tile);

    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
      TranslateRowToRgb(&frame[(tile.top + y) * stride + tile.left * pixel_bytes], &rgb[y * w * 3],
                        w, f, f, IsFastTranslateFormat(f));
    }
    std::vector<std::uint8_t> expected(jpeg.size());
    const int expected_size = JpegCompress(rgb.data(), w, h, expected.data(), expected.size(), 80);
    ASSERT_GT(expected_size, 0);
    ASSERT_EQ(size, static_cast<std::uint32_t>(expected_size)) << int{f.bitsPerPixel};
    EXPECT_EQ(0, std::memcmp(jpeg.data(), expected.data(), size)) << int{f.bitsPerPixel};
  }
}

TEST_F(EncoderTest, JpegDecodesCloseToTheFrame) {
  vncEncoder& encoder = Make(320, 240, 16);
  encoder.SetLocalFormat(Format565(), 320, 240);
  std::vector<std::uint8_t> frame(320 * 240 * 2);
  ovjpeg::testing::RgbImage expected{320, 240, std::vector<std::uint8_t>(320 * 240 * 3)};
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      std::uint16_t p = static_cast<std::uint16_t>((x / 10) << 11 | (y / 4) << 5 | ((x + y) / 20));
      std::memcpy(&frame[(y * 320 + x) * 2], &p, 2);
      TranslateRowToRgb(&frame[(y * 320 + x) * 2], &expected.pixels[(y * 320 + x) * 3], 1,
                        Format565(), Format565(), false);
    }
  }
  // The encode buffer of a 16-bit desktop is smaller than width x height x 3.
  std::vector<std::uint8_t> jpeg(frame.size());
  std::uint32_t size = encoder.Encode(frame, jpeg, {0, 0, 320, 240});
  ASSERT_GT(size, 0u);
  auto decoded = ovjpeg::testing::DecodeWithTurbo(
      std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + size));
  ASSERT_TRUE(decoded.has_value());
  EXPECT_GT(ovjpeg::testing::Psnr(expected, *decoded), 35.0);
}

TEST_F(EncoderTest, OutputNeverPassesTheBuffer) {
  vncEncoder& encoder = Make(64, 48, 32);
  encoder.SetLocalFormat(Format32(), 64, 48);
  std::vector<std::uint8_t> frame = Frame32(64, 48);
  std::vector<std::uint8_t> jpeg(200, 0xAB);
  EXPECT_EQ(encoder.Encode(frame, std::span<std::uint8_t>(jpeg.data(), 100), {0, 0, 64, 48}), 0u);
  EXPECT_EQ(std::vector<std::uint8_t>(jpeg.begin() + 100, jpeg.end()),
            std::vector<std::uint8_t>(100, 0xAB));
  EXPECT_TRUE(world_->HasLine("EncodeJpegCPU: Jpeg::Compress failed! 0\n"));
  // A source shorter than the rectangle is refused, not read past.
  EXPECT_EQ(encoder.Encode(std::span<const std::uint8_t>(frame.data(), 1000), jpeg, {0, 0, 64, 48}),
            0u);
}

TEST_F(EncoderTest, PaletteFramesArePassedOnRaw) {
  vncEncoder& encoder = Make(64, 48, 8);
  PixelFormat palette;
  palette.bitsPerPixel = 8;
  palette.depth = 8;
  encoder.SetLocalFormat(palette, 64, 48);
  std::vector<std::uint8_t> frame(64 * 48);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i);
  std::vector<std::uint8_t> out(frame.size());
  EXPECT_EQ(encoder.Encode(frame, out, {0, 0, 64, 48}), 64u * 48u);
  EXPECT_EQ(out, frame);
}

TEST(EncoderGpu, SixteenBitDesktopUsesTheGpuWithoutGpuCaptureAndEightBitDropsIt) {
  VexmarkWorld sixteen({.bits = 16});
  sixteen.state.g_bUseGPUEncoderCapture = 1;
  EXPECT_EQ(sixteen.Run("-g -x -f 2"), 2);
  EXPECT_TRUE(sixteen.HasLine("vncEncoder::Init: 16bpp. Disable GPUEncoderCapture.\n"));
  EXPECT_EQ(sixteen.state.g_bUseGPUEncoderCapture, 0);
  EXPECT_EQ(sixteen.gpu.log.gpu_captures, 0);
  EXPECT_EQ(std::count(sixteen.gpu.log.calls.begin(), sixteen.gpu.log.calls.end(),
                       "ReadSourceFromMemory"),
            3);

  VexmarkWorld wddm({.bits = 32});
  EXPECT_EQ(wddm.Run("-g -x -f 2"), 2);
  EXPECT_EQ(wddm.state.g_bUseGPUEncoderCapture, 1);
  EXPECT_EQ(wddm.gpu.log.gpu_captures, 3);
  // Set-up's render state for this process, then 1 and 0 around every GPU capture.
  auto states = wddm.driver.render_states();
  ASSERT_EQ(states.size(), 7u);
  EXPECT_EQ(states[0], std::pair(0, 4242u));
  EXPECT_EQ(states[1], std::pair(1, 0u));
  EXPECT_EQ(states[2], std::pair(0, 0u));

  VexmarkWorld eight({.bits = 8});
  EXPECT_EQ(eight.Run("-g -f 2"), 2);
  EXPECT_TRUE(eight.HasLine("vncEncoder::Init: Not support 8bpp to use GPUEncoder!\n"));
  EXPECT_EQ(eight.CountStartingWith("VexmarkThreadProc: Vexmark(0002): capture screen 3072 bytes "
                                    "& encode to 3072 bytes."),
            1);
}

TEST(EncoderGpu, FailedUploadReleasesTheGpuEncoderAndStopsTheFrame) {
  VexmarkWorld world;
  world.gpu.faults.fail_upload = true;
  EXPECT_EQ(world.Run("-g -f 2"), 0);
  EXPECT_TRUE(world.HasLine("m_pGPUEncoder->ReadSourceFromMemory failed!\n"));
  EXPECT_TRUE(world.HasLine("m_pGPUEncoder->PrepareSourceForGPU failed!\n"));
  EXPECT_THAT(world.gpu.log.calls, ::testing::Contains("ReleaseResources"));

  VexmarkWorld refused;
  refused.gpu.faults.fail_context = true;
  EXPECT_EQ(refused.Run("-g -f 1"), 1);
  EXPECT_TRUE(refused.HasLine("vncEncoder::Init: m_pGPUEncoder->CreateContext() returned fail!\n"));
}

}  // namespace
}  // namespace vexmark::test
