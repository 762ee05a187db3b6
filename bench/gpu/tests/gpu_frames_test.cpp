// Whole frames through the GPU encoder on the simulated card: the coefficients against the JPEG
// library's scalar reference, and the decoded picture against the CPU path's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"
#include "bench/gpu/sim/sim_direct3d.h"
#include "bench/gpu/tests/support/gpu_test_frames.h"
#include "bench/tests/support/ijl_encode.h"
#include "bench/tests/support/turbo.h"
#include "platform/sim/sim_debug_output.h"
#include "platform/sim/sim_sync.h"

namespace vexmark::gpu {
namespace {

using ovjpeg::testing::RgbImage;

struct Frame {
  const char* name;
  RgbImage image;
};

class GpuFramesTest : public ::testing::TestWithParam<std::pair<int, int>> {
 protected:
  std::vector<Frame> Frames() {
    const auto [w, h] = GetParam();
    return {{"desktop", ovjpeg::testing::MakeDesktop(w, h)},
            {"photo", ovjpeg::testing::MakePhoto(w, h)}};
  }

  // Encodes the frame; the stream, with the coefficients the coder saw left in `capture`.
  std::vector<std::uint8_t> Encode(const RgbImage& image, testing::ReadBackCapture& capture) {
    MJGPUEncoderD3D10 encoder(capture, clock, log, nullptr);
    EXPECT_TRUE(encoder.CreateContext(image.width, image.height, 80));
    EXPECT_TRUE(encoder.ReadSourceFromMemory(testing::RgbaTexels(image)));
    encoder.RunGpuPasses();
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(image.width) * image.height * 4);
    std::uint32_t size = 0;
    EXPECT_TRUE(encoder.CPUEncodeVLE_IJL(stream, size));
    stream.resize(size);
    return stream;
  }

  platform::sim::RecordingDebugOutput output;
  DebugLog log{output};
  platform::sim::HostClock clock;
};

TEST_P(GpuFramesTest, CoefficientsWithinOneOfTheScalarReference) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.name);
    sim::SimDirect3D d3d;
    testing::ReadBackCapture capture(d3d);
    Encode(frame.image, capture);
    const auto histogram =
        testing::DifferenceHistogram(capture.Captured(frame.image.width, frame.image.height),
                                     testing::ReferenceCoefficients(frame.image, 80));
    for (const auto& [difference, count] : histogram) {
      EXPECT_LE(std::abs(difference), 1) << count << " coefficients";
    }
    std::printf("[ histogram ] %s %dx%d:%s\n", frame.name, frame.image.width, frame.image.height,
                testing::HistogramText(histogram).c_str());
  }
}

TEST_P(GpuFramesTest, DecodesAsWellAsTheCpuPath) {
  for (const Frame& frame : Frames()) {
    SCOPED_TRACE(frame.name);
    sim::SimDirect3D d3d;
    testing::ReadBackCapture capture(d3d);
    const auto gpu = ovjpeg::testing::DecodeWithTurbo(Encode(frame.image, capture));
    const auto cpu =
        ovjpeg::testing::DecodeWithTurbo(ovjpeg::testing::EncodeWithIjl(frame.image, 80));
    ASSERT_TRUE(gpu && cpu);
    ASSERT_EQ(gpu->width, frame.image.width);
    ASSERT_EQ(gpu->height, frame.image.height);
    const double gpu_psnr = ovjpeg::testing::Psnr(frame.image, *gpu);
    const double cpu_psnr = ovjpeg::testing::Psnr(frame.image, *cpu);
    std::printf("[ psnr ] %s %dx%d: GPU %.2f dB, CPU %.2f dB\n", frame.name, frame.image.width,
                frame.image.height, gpu_psnr, cpu_psnr);
    EXPECT_GE(gpu_psnr, cpu_psnr - 0.5);
  }
}

// A padded read-back pitch takes the copy; the stream must not change.
TEST(GpuFramesPitch, PaddedPitchCodesTheSameStream) {
  const RgbImage image = ovjpeg::testing::MakeDesktop(64, 48);
  platform::sim::RecordingDebugOutput output;
  DebugLog log{output};
  platform::sim::HostClock clock;
  std::vector<std::uint8_t> streams[2];
  for (int padded = 0; padded < 2; ++padded) {
    sim::SimDirect3D d3d;
    d3d.faults().extra_row_pitch = padded ? 24 : 0;
    MJGPUEncoderD3D10 encoder(d3d, clock, log, nullptr);
    ASSERT_TRUE(encoder.CreateContext(64, 48, 80));
    ASSERT_TRUE(encoder.ReadSourceFromMemory(testing::RgbaTexels(image)));
    encoder.RunGpuPasses();
    streams[padded].resize(64 * 48 * 3);
    std::uint32_t size = 0;
    ASSERT_TRUE(encoder.CPUEncodeVLE_IJL(streams[padded], size));
    streams[padded].resize(size);
  }
  EXPECT_FALSE(streams[0].empty());
  EXPECT_EQ(streams[0], streams[1]);
}

INSTANTIATE_TEST_SUITE_P(Sizes, GpuFramesTest,
                         ::testing::Values(std::pair{1280, 1024}, std::pair{1368, 768},
                                           std::pair{1368, 776}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" +
                                  std::to_string(info.param.second);
                         });

}  // namespace
}  // namespace vexmark::gpu
