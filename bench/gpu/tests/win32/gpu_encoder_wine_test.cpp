// The GPU encoder on Direct3D 10 under Wine (llvmpipe on Xvfb), with the stand-in compiler
// beside the test: the shaders compile, real frames give the scalar reference's coefficients
// within one, and the encoding rates are measurable. With OV_GPU_FRAMES_DIR set, each frame's
// source picture and its GPU and CPU streams are written there for the decoding check.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"
#include "bench/gpu/tests/support/gpu_test_frames.h"
#include "bench/gpu/win32/win32_direct3d.h"
#include "bench/tests/support/ijl_encode.h"
#include "platform/debug_output.h"
#include "platform/paths.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_sync.h"

namespace vexmark::gpu {
namespace {

using ovjpeg::testing::RgbImage;

class StdoutOutput : public platform::DebugOutput {
 public:
  void Write(std::string_view text) override { std::printf("%.*s", int(text.size()), text.data()); }
  void Write(std::u16string_view) override {}
};

// The shader file and the stand-in compiler sit beside the test program.
void EnterProgramFolder() {
  if (const std::optional<std::string> path = platform::win32::Win32Files().ModulePath()) {
    SetCurrentDirectoryA(platform::FolderOf(*path).c_str());
  }
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

void WritePpm(const std::string& path, const RgbImage& image) {
  const std::string header =
      "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
  std::vector<std::uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.end());
  WriteFile(path, bytes);
}

class GpuEncoderWine : public ::testing::Test {
 protected:
  void SetUp() override { EnterProgramFolder(); }
  StdoutOutput output;
  DebugLog log{output};
  platform::win32::Win32Clock clock;
};

TEST_F(GpuEncoderWine, ShadersCompileThroughTheStandInCompiler) {
  win32::Win32Direct3D d3d;
  ASSERT_TRUE(d3d.LoadModule(GraphicsModule::kDirect3D, "d3d10.dll"));
  ASSERT_TRUE(d3d.LoadModule(GraphicsModule::kCompiler, "d3dx10_40.dll"));
  ASSERT_TRUE(d3d.CreateDevice());
  const char* entries[][2] = {{"MJPEG_VS", "vs_4_0"},
                              {"ColorConversionY", "ps_4_0"},
                              {"ColorConversionUV", "ps_4_0"},
                              {"DCT_LeftX", "ps_4_0"},
                              {"DCT_RightX", "ps_4_0"}};
  for (const auto& [entry, profile] : entries) {
    const auto code = d3d.CompileFromFile(kShaderFile, entry, profile);
    ASSERT_TRUE(code.has_value()) << entry;
    EXPECT_NE(d3d.CreateShader(profile[0] == 'v' ? ShaderKind::kVertex : ShaderKind::kPixel, *code),
              kNoObject)
        << entry;
  }
  EXPECT_FALSE(d3d.CompileFromFile(kShaderFile, "NoSuchEntry", "ps_4_0").has_value());
  d3d.ReleaseDevice();
}

TEST_F(GpuEncoderWine, FramesGiveTheReferenceCoefficientsWithinOne) {
  const char* frames_dir = std::getenv("OV_GPU_FRAMES_DIR");
  for (const auto& [w, h] : {std::pair{1280, 1024}, std::pair{1368, 768}, std::pair{1368, 776}}) {
    for (int photo = 0; photo < 2; ++photo) {
      const RgbImage image =
          photo ? ovjpeg::testing::MakePhoto(w, h) : ovjpeg::testing::MakeDesktop(w, h);
      std::string name = photo ? "photo-" : "desktop-";
      name += std::to_string(w);
      name += 'x';
      name += std::to_string(h);
      SCOPED_TRACE(name);
      win32::Win32Direct3D real;
      testing::ReadBackCapture d3d(real);
      MJGPUEncoderD3D10 encoder(d3d, clock, log, nullptr);
      ASSERT_TRUE(encoder.CreateContext(w, h, 80));
      ASSERT_TRUE(encoder.ReadSourceFromMemory(testing::RgbaTexels(image)));
      encoder.RunGpuPasses();
      std::vector<std::uint8_t> stream(static_cast<std::size_t>(w) * h * 4);
      std::uint32_t size = 0;
      ASSERT_TRUE(encoder.CPUEncodeVLE_IJL(stream, size));
      stream.resize(size);

      const auto histogram = testing::DifferenceHistogram(
          d3d.Captured(w, h), testing::ReferenceCoefficients(image, 80));
      for (const auto& [difference, count] : histogram) {
        EXPECT_LE(std::abs(difference), 1) << count << " coefficients";
      }
      std::printf("[ histogram ] %s:%s\n", name.c_str(), testing::HistogramText(histogram).c_str());
      if (frames_dir != nullptr) {
        std::string base = "Z:";
        base += frames_dir;
        base += '/';
        base += name;
        WritePpm(base + ".ppm", image);
        WriteFile(base + "-gpu.jpg", stream);
        WriteFile(base + "-cpu.jpg", ovjpeg::testing::EncodeWithIjl(image, 80));
      }
    }
  }
}

// A small frame, so that even a loaded machine's software renderer passes one a second.
TEST_F(GpuEncoderWine, EncodingRatesAreMeasured) {
  const RgbImage image = ovjpeg::testing::MakeDesktop(320, 240);
  win32::Win32Direct3D d3d;
  MJGPUEncoderD3D10 encoder(d3d, clock, log, nullptr);
  ASSERT_TRUE(encoder.CreateContext(320, 240, 80));
  ASSERT_TRUE(encoder.ReadSourceFromMemory(testing::RgbaTexels(image)));
  std::vector<std::uint8_t> destination(320 * 240 * 4);
  EXPECT_GT(encoder.GetEncodingFPS(10, 1, destination), 0);
  EXPECT_GT(encoder.GetEncodingFPS(10, 3, destination), 0);
  EXPECT_EQ(encoder.GetEncodingFPS(10, 0, destination), 0);
}

}  // namespace
}  // namespace vexmark::gpu
