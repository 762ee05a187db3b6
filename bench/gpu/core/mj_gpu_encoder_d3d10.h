// The GPU JPEG encoder on Direct3D 10: shaders from "Dezezo.psh" convert the frame to Y, Cb and
// Cr planes, transform and quantise every 8 x 8 block; the read-back coefficients are
// entropy-coded on the CPU by the JPEG library's raw-coefficient entry.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "bench/core/debug_log.h"
#include "bench/core/mj_gpu_encoder.h"
#include "bench/gpu/core/coefficient_planes.h"
#include "bench/gpu/core/direct3d_port.h"
#include "bench/gpu/core/gpu_constants.h"
#include "platform/sync.h"

namespace vexmark::gpu {

inline constexpr const char* kShaderFile = "Dezezo.psh";

class MJGPUEncoderD3D10 final : public MJGPUEncoder {
 public:
  MJGPUEncoderD3D10(Direct3DPort& d3d, platform::Clock& clock, DebugLog& log,
                    GpuCaptureDriver* capture_driver);
  // The same, owning its port.
  MJGPUEncoderD3D10(std::unique_ptr<Direct3DPort> d3d, platform::Clock& clock, DebugLog& log,
                    GpuCaptureDriver* capture_driver);
  ~MJGPUEncoderD3D10() override;
  MJGPUEncoderD3D10(const MJGPUEncoderD3D10&) = delete;
  MJGPUEncoderD3D10& operator=(const MJGPUEncoderD3D10&) = delete;

  bool CreateContext(int width, int height, int quality) override;
  bool ReadSourceFromMemory(std::span<const std::uint8_t> rgba) override;
  bool ReadSourceFromRows(const RgbaRowWriter& write_row) override;
  int CaptureOnGpu() override;
  bool SetQuality(int quality) override;
  void RunGpuPasses() override;
  bool CPUEncodeVLE_IJL(std::span<std::uint8_t> destination, std::uint32_t& size) override;
  int GetEncodingFPS(int count, int mode, std::span<std::uint8_t> destination) override;
  void ReleaseResources() override;
  bool SourceReady() const override { return source_ready_; }
  void ClearSourceReady() override { source_ready_ = false; }

 private:
  struct Plane {
    ObjectId texture = kNoObject;
    ObjectId render_target = kNoObject;
    ObjectId resource = kNoObject;
  };
  struct Resources {
    ObjectId source = kNoObject, source_resource = kNoObject, capture = kNoObject;
    Plane y, u, v, luma_temp, chroma_temp, y_coefficients, u_coefficients, v_coefficients;
    ObjectId y_read_back = kNoObject, u_read_back = kNoObject, v_read_back = kNoObject;
    ObjectId upload = kNoObject;
    ObjectId vertex_shader = kNoObject, input_layout = kNoObject;
    ObjectId color_conversion_y = kNoObject, color_conversion_uv = kNoObject;
    ObjectId dct_left = kNoObject, dct_right = kNoObject;
    ObjectId vertex_buffer = kNoObject, index_buffer = kNoObject;
    ObjectId luminance_constants = kNoObject, chrominance_constants = kNoObject;
    ObjectId blend_state = kNoObject, point_sampler = kNoObject, linear_sampler = kNoObject;
    ObjectId event_query = kNoObject;
  };

  bool InitContext();
  bool CreateTextures();
  bool CreateViews();
  bool CreateShaders();
  ObjectId CompileShader(const char* entry, const char* profile, ShaderKind kind,
                         std::vector<std::uint8_t>* bytecode = nullptr);
  bool CreateBuffersAndStates();
  bool BuildConstantBuffers();
  void ReleaseConstantBuffers();
  void Draw(ObjectId render_target, ObjectId resource, ObjectId shader);
  // Polls the event query until the GPU is done; false when it fails or the wait runs out.
  bool WaitForQuery();
  bool EncodeCoefficients(const std::array<const std::int16_t*, 3>& planes,
                          std::span<std::uint8_t> destination, std::uint32_t& size);

  std::unique_ptr<Direct3DPort> owned_port_;
  Direct3DPort& d3d_;
  platform::Clock& clock_;
  DebugLog& log_;
  GpuCaptureDriver* capture_driver_;

  bool direct3d_loaded_ = false;
  bool compiler_loaded_ = false;
  bool has_device_ = false;
  int width_ = 0;
  int height_ = 0;
  CoefficientPlaneShape luma_shape_{};
  CoefficientPlaneShape chroma_shape_{};
  bool source_ready_ = false;
  int quality_ = 0;
  Resources r_;
  std::vector<std::int16_t> y_block_, u_block_, v_block_;
};

}  // namespace vexmark::gpu
