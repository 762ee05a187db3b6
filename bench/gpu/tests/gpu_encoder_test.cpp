// The GPU encoder against the simulated card: module loading and its messages, the order in
// which the context is made, the passes, quality changes, capture, timing and failure paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"
#include "bench/gpu/sim/sim_direct3d.h"
#include "platform/sim/sim_debug_output.h"

namespace vexmark::gpu {
namespace {

using sim::SimDirect3D;

// Performance counter reads from a script, then standing still.
class ScriptedClock : public platform::Clock {
 public:
  std::vector<std::int64_t> counter;
  std::size_t reads = 0;
  std::uint32_t slept_ms = 0;
  uint32_t TickCount() override { return 0; }
  int64_t PerformanceCounter() override {
    const std::int64_t value = counter.empty() ? 0 : counter[std::min(reads, counter.size() - 1)];
    ++reads;
    return value;
  }
  int64_t PerformanceFrequency() override { return 1000000; }
  void Sleep(uint32_t ms) override { slept_ms += ms; }
};

class RecordingDriver : public GpuCaptureDriver {
 public:
  std::vector<std::string>* calls = nullptr;
  bool SetRenderState(std::uint8_t state, std::uint32_t process_id) override {
    calls->push_back("SetRenderState " + std::to_string(state) + " " + std::to_string(process_id));
    return true;
  }
};

// Texture numbers in the order the context makes them.
enum Texture {
  kSource,
  kCapture,
  kY,
  kU,
  kV,
  kLumaTemp,
  kChromaTemp,
  kYCoef,
  kUCoef,
  kVCoef,
  kYReadBack,
  kUReadBack,
  kVReadBack,
  kUpload
};
// Buffer numbers.
enum Buffer { kVertexBuffer, kLumaConstants, kChromaConstants, kIndexBuffer };

class GpuEncoderTest : public ::testing::Test {
 protected:
  GpuEncoderTest() { driver.calls = &driver_calls; }

  std::vector<std::string> Lines() { return output.Lines(); }
  bool Logged(const std::string& line) {
    const std::vector<std::string> lines = output.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  int CallsStartingWith(const std::string& prefix) {
    return static_cast<int>(
        std::count_if(d3d.calls().begin(), d3d.calls().end(),
                      [&](const std::string& c) { return c.starts_with(prefix); }));
  }

  SimDirect3D d3d;
  platform::sim::RecordingDebugOutput output;
  DebugLog log{output};
  ScriptedClock clock;
  std::vector<std::string> driver_calls;
  RecordingDriver driver;
  MJGPUEncoderD3D10 encoder{d3d, clock, log, &driver};
};

TEST_F(GpuEncoderTest, SidesNotMultipleOfEightAreRefusedBeforeAnyModuleLoads) {
  EXPECT_FALSE(encoder.CreateContext(1366, 768, 80));
  EXPECT_EQ(Lines(), std::vector<std::string>{
                         "MJGPUEncoder::CreateContext: (W,H)=(1366,768) can not divided by 8!\n"});
  EXPECT_TRUE(d3d.calls().empty());
}

TEST_F(GpuEncoderTest, ModulesAndLookUpsInOrderThenEveryResourceInOrder) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  const std::vector<std::string> expected = {
      "LoadModule d3d10.dll",
      "LoadModule d3dx10_40.dll",
      "HasFunction D3D10CreateDevice",
      "HasFunction D3DX10CompileFromFileA",
      "HasFunction D3DX10CreateTextureFromFileA",
      "HasFunction D3DX10CreateTextureFromMemory",
      "CreateDevice",
      "CreateTexture 64x32 rgba8 renderable #0",
      "CreateTexture 64x32 rgba8 renderable #1",
      "CreateTexture 64x8 rgba8 renderable #2",
      "CreateTexture 32x4 rgba8 renderable #3",
      "CreateTexture 32x4 rgba8 renderable #4",
      "CreateTexture 16x32 rgba16f renderable #5",
      "CreateTexture 8x16 rgba16f renderable #6",
      "CreateTexture 16x32 rgba16i renderable #7",
      "CreateTexture 8x16 rgba16i renderable #8",
      "CreateTexture 8x16 rgba16i renderable #9",
      "CreateTexture 16x32 rgba16i read-back #10",
      "CreateTexture 8x16 rgba16i read-back #11",
      "CreateTexture 8x16 rgba16i read-back #12",
      "CreateShaderResourceView texture #0 #0",
      "CreateRenderTargetView texture #2 #1",
      "CreateShaderResourceView texture #2 #2",
      "CreateRenderTargetView texture #3 #3",
      "CreateShaderResourceView texture #3 #4",
      "CreateRenderTargetView texture #4 #5",
      "CreateShaderResourceView texture #4 #6",
      "CreateRenderTargetView texture #5 #7",
      "CreateShaderResourceView texture #5 #8",
      "CreateRenderTargetView texture #6 #9",
      "CreateShaderResourceView texture #6 #10",
      "CreateRenderTargetView texture #7 #11",
      "CreateRenderTargetView texture #8 #12",
      "CreateRenderTargetView texture #9 #13",
      "Compile Dezezo.psh MJPEG_VS vs_4_0",
      "CreateVertexShader MJPEG_VS #0",
      "CreateInputLayout POSITION/3@0 TEXCOORD/2@12 #0",
      "Compile Dezezo.psh ColorConversionY ps_4_0",
      "CreatePixelShader ColorConversionY #1",
      "Compile Dezezo.psh ColorConversionUV ps_4_0",
      "CreatePixelShader ColorConversionUV #2",
      "Compile Dezezo.psh DCT_LeftX ps_4_0",
      "CreatePixelShader DCT_LeftX #3",
      "Compile Dezezo.psh DCT_RightX ps_4_0",
      "CreatePixelShader DCT_RightX #4",
      "CreateBuffer vertex 80 #0",
      "CreateBuffer constant 2592 #1",
      "CreateBuffer constant 2592 #2",
      "CreateBuffer index 144 #3",
      "CreateBlendState #0",
      "CreateSampler point #0",
      "CreateSampler linear #1",
      "CreateEventQuery #0",
      "SetFixedPipeline stride 20",
  };
  EXPECT_EQ(d3d.calls(), expected);
  EXPECT_TRUE(Lines().empty());
  // The buffers carry the quad and the quality's constants.
  EXPECT_EQ(0, std::memcmp(d3d.BufferContent(kVertexBuffer).data(), kQuadVertices.data(), 80));
  EXPECT_EQ(0, std::memcmp(d3d.BufferContent(kIndexBuffer).data(), kQuadIndices.data(), 144));
  EXPECT_EQ(d3d.BufferContent(kLumaConstants),
            PlaneConstantBuffer(LuminancePlaneSize(64, 32), ScaledLuminanceTable(80)));
  EXPECT_EQ(d3d.BufferContent(kChromaConstants),
            PlaneConstantBuffer(ChrominancePlaneSize(64, 32), ScaledChrominanceTable(80)));
}

TEST_F(GpuEncoderTest, MissingModulesAndFunctionsFailTheContext) {
  d3d.faults().missing_compiler = true;
  EXPECT_FALSE(encoder.CreateContext(64, 32, 80));
  EXPECT_EQ(Lines(), std::vector<std::string>{
                         "MJGPUEncoder::CreateContext: LoadLibrary d3dx10_40.dll failed!\n"});

  output.Clear();
  d3d.faults().missing_compiler = false;
  d3d.faults().missing_direct3d = true;
  EXPECT_FALSE(encoder.CreateContext(64, 32, 80));
  EXPECT_EQ(Lines(), std::vector<std::string>{
                         "MJGPUEncoder::CreateContext: LoadLibrary d3d10.dll failed!\n"});

  output.Clear();
  d3d.faults().missing_direct3d = false;
  d3d.faults().missing_function = "D3DX10CreateTextureFromMemory";
  d3d.ClearRecords();
  EXPECT_FALSE(encoder.CreateContext(64, 32, 80));
  EXPECT_TRUE(Lines().empty());  // silently
  EXPECT_EQ(CallsStartingWith("CreateDevice"), 0);
  encoder.ReleaseResources();
  EXPECT_EQ(d3d.LoadedModules(), 0);
}

TEST_F(GpuEncoderTest, EachShaderThatDoesNotCompileFailsWithItsMessage) {
  for (const char* entry :
       {"MJPEG_VS", "ColorConversionY", "ColorConversionUV", "DCT_LeftX", "DCT_RightX"}) {
    output.Clear();
    d3d.faults().failing_entry = entry;
    EXPECT_FALSE(encoder.CreateContext(64, 32, 80));
    EXPECT_EQ(Lines(), std::vector<std::string>{
                           std::string("MJGPUEncoder::InitContext: D3DX10CompileFromFile "
                                       "Dezezo.psh ") +
                           entry + " failed!\n"});
    encoder.ReleaseResources();
    EXPECT_EQ(d3d.LiveObjects(), 0) << entry;
    EXPECT_FALSE(d3d.HasDevice());
  }
}

TEST_F(GpuEncoderTest, PassesRunWithTheirViewportsTargetsSamplersAndConstants) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.ClearRecords();
  encoder.RunGpuPasses();
  struct Expected {
    const char* shader;
    int width, height, constants;
    SamplerFilter sampler;
    std::vector<int> targets;
    int resource;
  };
  const SamplerFilter point = SamplerFilter::kPoint;
  const Expected expected[] = {
      {"ColorConversionY", 64, 8, kLumaConstants, point, {kY}, kSource},
      {"DCT_LeftX", 16, 32, kLumaConstants, point, {kLumaTemp}, kY},
      {"DCT_RightX", 16, 32, kLumaConstants, point, {kYCoef}, kLumaTemp},
      {"ColorConversionUV", 32, 4, kChromaConstants, SamplerFilter::kLinear, {kU, kV}, kSource},
      {"DCT_LeftX", 8, 16, kChromaConstants, point, {kChromaTemp}, kU},
      {"DCT_RightX", 8, 16, kChromaConstants, point, {kUCoef}, kChromaTemp},
      {"DCT_LeftX", 8, 16, kChromaConstants, point, {kChromaTemp}, kV},
      {"DCT_RightX", 8, 16, kChromaConstants, point, {kVCoef}, kChromaTemp},
  };
  ASSERT_EQ(d3d.draws().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const sim::SimDraw& d = d3d.draws()[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(d.shader, expected[i].shader);
    EXPECT_EQ(d.viewport_width, expected[i].width);
    EXPECT_EQ(d.viewport_height, expected[i].height);
    EXPECT_EQ(d.constant_buffer, expected[i].constants);
    EXPECT_EQ(d.sampler, expected[i].sampler);
    EXPECT_EQ(d.targets, expected[i].targets);
    EXPECT_EQ(d.resource, expected[i].resource);
  }
  const std::vector<std::string> tail(d3d.calls().end() - 3, d3d.calls().end());
  EXPECT_EQ(tail, (std::vector<std::string>{"CopyResource #10 <- #7", "CopyResource #11 <- #8",
                                            "CopyResource #12 <- #9"}));
  EXPECT_EQ(CallsStartingWith("DrawIndexed 6 0 0 "), 8);
}

TEST_F(GpuEncoderTest, SetQualityRebuildsBothConstantBuffersOnlyOnChange) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.ClearRecords();
  EXPECT_TRUE(encoder.SetQuality(80));
  EXPECT_TRUE(d3d.calls().empty());
  EXPECT_TRUE(encoder.SetQuality(50));
  EXPECT_EQ(d3d.calls(),
            (std::vector<std::string>{"Release", "Release", "CreateBuffer constant 2592 #4",
                                      "CreateBuffer constant 2592 #5"}));
  EXPECT_EQ(d3d.BufferContent(4),
            PlaneConstantBuffer(LuminancePlaneSize(64, 32), ScaledLuminanceTable(50)));
  EXPECT_EQ(d3d.BufferContent(5),
            PlaneConstantBuffer(ChrominancePlaneSize(64, 32), ScaledChrominanceTable(50)));
  d3d.ClearRecords();
  encoder.RunGpuPasses();
  EXPECT_EQ(d3d.draws()[0].constant_buffer, 4);
  EXPECT_EQ(d3d.draws()[3].constant_buffer, 5);
}

TEST_F(GpuEncoderTest, CaptureBracketsItsOneTexelCopyWithRenderStates) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.ClearRecords();
  EXPECT_FALSE(encoder.SourceReady());
  EXPECT_EQ(encoder.CaptureOnGpu(), 1);
  EXPECT_TRUE(encoder.SourceReady());
  EXPECT_EQ(d3d.calls(),
            (std::vector<std::string>{"Flush", "CopyRegion #0 <- #1 box 1x1x1", "Flush"}));
  EXPECT_EQ(driver_calls, (std::vector<std::string>{"SetRenderState 1 0", "SetRenderState 0 0"}));
  encoder.ClearSourceReady();
  EXPECT_FALSE(encoder.SourceReady());
}

TEST_F(GpuEncoderTest, EncodingRateOfModeZeroTouchesNothing) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.ClearRecords();
  output.Clear();
  std::vector<std::uint8_t> destination(64 * 32 * 4);
  EXPECT_EQ(encoder.GetEncodingFPS(30, 0, destination), 0);
  EXPECT_TRUE(d3d.calls().empty());
  EXPECT_EQ(clock.reads, 0u);
  EXPECT_TRUE(Lines().empty());
}

TEST_F(GpuEncoderTest, EncodingRateSubtractsTimerCostAndWaitsForTheQuery) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  std::vector<std::uint8_t> frame(64 * 32 * 4, 0x80);
  ASSERT_TRUE(encoder.ReadSourceFromMemory(frame));
  d3d.ClearRecords();
  // Counter reads: two for the timer's cost (10 ticks), start, end; 30 rounds in 30 ms.
  clock.counter = {0, 10, 100, 100 + 10 + 30000};
  std::vector<std::uint8_t> destination(64 * 32 * 4);
  EXPECT_EQ(encoder.GetEncodingFPS(30, 7, destination), 1000);
  EXPECT_EQ(Lines().back(), "MJGPUEncoder::GetEncodingFPS(mode:0x7) - EncodingFPS = 1000 fps\n");
  EXPECT_EQ(CallsStartingWith("DrawIndexed"), 30 * 8);
  EXPECT_EQ(CallsStartingWith("CopyRegion"), 30);
  EXPECT_EQ(CallsStartingWith("Map read"), 30 * 3);
  EXPECT_EQ(driver_calls.size(), 60u);
  EXPECT_EQ(d3d.calls().front(), "BeginQuery");
  EXPECT_EQ(d3d.calls().back(), "EndQuery");
  EXPECT_EQ(d3d.MappedTextures(), 0);
}

// Even with a clock that stands still, the wait ends: after its spins it sleeps a bounded time.
TEST_F(GpuEncoderTest, EncodingRateGivesUpOnAGpuThatNeverFinishes) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.faults().query_not_ready_polls = -1;
  std::vector<std::uint8_t> destination(64 * 32 * 4);
  EXPECT_EQ(encoder.GetEncodingFPS(3, 1, destination), 0);
  EXPECT_EQ(clock.slept_ms, 10000u);
  EXPECT_EQ(Lines().back(), "MJGPUEncoder::GetEncodingFPS(mode:0x1) - EncodingFPS = 0 fps\n");
}

TEST_F(GpuEncoderTest, FailedMapUnmapsWhatWasMappedAndCodesNothing) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  encoder.RunGpuPasses();
  d3d.faults().fail_map_number = 2;  // the V read-back
  std::vector<std::uint8_t> destination(64 * 32 * 3);
  std::uint32_t size = 123;
  EXPECT_FALSE(encoder.CPUEncodeVLE_IJL(destination, size));
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(d3d.MappedTextures(), 0);
  EXPECT_EQ(CallsStartingWith("Unmap"), 2);
}

TEST_F(GpuEncoderTest, AFailedUploadLeavesAReleasedEncoderThatFailsSafely) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  d3d.faults().fail_maps = true;
  std::vector<std::uint8_t> frame(64 * 32 * 4, 0x80);
  EXPECT_FALSE(encoder.ReadSourceFromMemory(frame));
  encoder.ReleaseResources();  // what the CPU encoder does on a failed upload
  EXPECT_EQ(d3d.LiveObjects(), 0);
  EXPECT_EQ(d3d.LoadedModules(), 0);
  EXPECT_FALSE(d3d.HasDevice());

  d3d.faults().fail_maps = false;
  d3d.ClearRecords();
  EXPECT_FALSE(encoder.ReadSourceFromMemory(frame));
  encoder.RunGpuPasses();
  std::vector<std::uint8_t> destination(64 * 32 * 3);
  std::uint32_t size = 5;
  EXPECT_FALSE(encoder.CPUEncodeVLE_IJL(destination, size));
  EXPECT_EQ(size, 0u);
  EXPECT_TRUE(d3d.draws().empty());
  EXPECT_EQ(d3d.LiveObjects(), 0);
  EXPECT_EQ(encoder.GetEncodingFPS(30, 3, destination), 0);
  EXPECT_EQ(Lines().back(), "MJGPUEncoder::GetEncodingFPS(mode:0x3) - EncodingFPS = 0 fps\n");
  // The object stays usable: a new context works.
  EXPECT_TRUE(encoder.CreateContext(64, 32, 80));
}

TEST_F(GpuEncoderTest, UploadRejectsAShortFrame) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  std::vector<std::uint8_t> frame(64 * 32 * 4 - 1);
  d3d.ClearRecords();
  EXPECT_FALSE(encoder.ReadSourceFromMemory(frame));
  EXPECT_TRUE(d3d.calls().empty());
}

// A mapping whose pitch does not hold a row is refused by the upload and the read-back alike,
// and left unmapped.
TEST_F(GpuEncoderTest, UploadAndReadBackRefuseAPitchShorterThanARow) {
  ASSERT_TRUE(encoder.CreateContext(64, 32, 80));
  encoder.RunGpuPasses();
  d3d.faults().short_map_pitch = 4;
  std::vector<std::uint8_t> frame(64 * 32 * 4, 0x80);
  EXPECT_FALSE(encoder.ReadSourceFromMemory(frame));
  EXPECT_EQ(d3d.MappedTextures(), 0);
  std::vector<std::uint8_t> destination(64 * 32 * 3);
  std::uint32_t size = 7;
  EXPECT_FALSE(encoder.CPUEncodeVLE_IJL(destination, size));
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(d3d.MappedTextures(), 0);
}

TEST_F(GpuEncoderTest, UploadCopiesRowsByPitchIntoTheSourceTexture) {
  d3d.faults().extra_row_pitch = 12;
  ASSERT_TRUE(encoder.CreateContext(16, 8, 80));
  std::vector<std::uint8_t> frame(16 * 8 * 4);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(encoder.ReadSourceFromMemory(frame));
  const std::vector<std::uint8_t>& source = d3d.TextureContent(kSource);
  for (int row = 0; row < 8; ++row) {
    ASSERT_EQ(0, std::memcmp(source.data() + row * (64 + 12), frame.data() + row * 64, 64)) << row;
  }
  EXPECT_EQ(d3d.TextureDescription(kUpload).usage, TextureUsage::kUpload);
}

}  // namespace
}  // namespace vexmark::gpu
