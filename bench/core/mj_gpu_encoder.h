// The GPU JPEG encoder as the CPU encoder and the benchmark driver use it: colour conversion,
// DCT and quantisation on the graphics card, entropy coding on the CPU. The Windows build puts
// Direct3D 10 behind it; the simulation stands in for the card in host tests.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

namespace vexmark {

// Stage bits of GetEncodingFPS.
inline constexpr int kGpuStagePasses = 1;
inline constexpr int kGpuStageEntropyCoding = 2;
inline constexpr int kGpuStageCapture = 4;

// Writes row `row` of the frame as width RGBA texels (4 bytes each) at `texels`.
using RgbaRowWriter = std::function<void(int row, std::uint8_t* texels)>;

class MJGPUEncoder {
 public:
  virtual ~MJGPUEncoder() = default;

  // Loads the graphics modules, makes the device and every texture, shader and constant buffer
  // for a width x height frame (both multiples of 8) at this JPEG quality.
  virtual bool CreateContext(int width, int height, int quality) = 0;
  // Uploads one frame of width x height RGBA texels (4 bytes each, rows packed) into the source
  // texture.
  virtual bool ReadSourceFromMemory(std::span<const std::uint8_t> rgba) = 0;
  // The same with each row converted by the caller straight into the upload memory, so no
  // intermediate RGBA frame is needed.
  virtual bool ReadSourceFromRows(const RgbaRowWriter& write_row) = 0;
  // Fills the source texture with the desktop through the filter driver and marks the source
  // ready; returns 1.
  virtual int CaptureOnGpu() = 0;
  // Rebuilds the quantisation constants when the quality differs from the current one.
  virtual bool SetQuality(int quality) = 0;
  // Colour conversion, DCT and quantisation, then the copy to the read-back textures.
  virtual void RunGpuPasses() = 0;
  // Entropy-codes the read-back coefficients as a JPEG at the start of destination, never past
  // its end; size receives the byte count (0 on failure).
  virtual bool CPUEncodeVLE_IJL(std::span<std::uint8_t> destination, std::uint32_t& size) = 0;
  // Frames per second of count rounds of the stages selected by mode (kGpuStage... bits);
  // entropy coding writes into destination. Mode 0 returns 0 at once.
  virtual int GetEncodingFPS(int count, int mode, std::span<std::uint8_t> destination) = 0;
  // Releases every graphics object and CPU block and unloads the modules; the object stays.
  virtual void ReleaseResources() = 0;

  // Whether the source texture already holds the current frame from CaptureOnGpu.
  virtual bool SourceReady() const = 0;
  virtual void ClearSourceReady() = 0;
};

// The filter driver's render-state switch that GPU capture brackets its copy with (state 1 with
// process id 0 before, state 0 with process id 0 after).
class GpuCaptureDriver {
 public:
  virtual ~GpuCaptureDriver() = default;
  virtual bool SetRenderState(std::uint8_t render_state, std::uint32_t process_id) = 0;
};

// Makes a new, empty GPU encoder each time the CPU encoder is initialised with the GPU wanted;
// nullptr when none can be made.
class MJGPUEncoderFactory {
 public:
  virtual ~MJGPUEncoderFactory() = default;
  virtual std::unique_ptr<MJGPUEncoder> Create() = 0;
};

}  // namespace vexmark
