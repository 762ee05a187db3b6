#include "bench/win32/gpu_encoder_factory.h"

#include "bench/gpu/core/mj_gpu_encoder_d3d10.h"
#include "bench/gpu/win32/win32_direct3d.h"

namespace vexmark::win32 {

namespace {

// Each encoder gets Direct3D 10 of its own: the modules are loaded and unloaded with it.
class Direct3DEncoderFactory : public MJGPUEncoderFactory {
 public:
  Direct3DEncoderFactory(DebugLog& log, GpuCaptureDriver& capture_driver, platform::Clock& clock)
      : log_(log), capture_driver_(capture_driver), clock_(clock) {}

  std::unique_ptr<MJGPUEncoder> Create() override {
    return std::make_unique<gpu::MJGPUEncoderD3D10>(std::make_unique<gpu::win32::Win32Direct3D>(),
                                                    clock_, log_, &capture_driver_);
  }

 private:
  DebugLog& log_;
  GpuCaptureDriver& capture_driver_;
  platform::Clock& clock_;
};

}  // namespace

std::unique_ptr<MJGPUEncoderFactory> MakeGpuEncoderFactory(DebugLog& log,
                                                           GpuCaptureDriver& capture_driver,
                                                           platform::Clock& clock) {
  return std::make_unique<Direct3DEncoderFactory>(log, capture_driver, clock);
}

}  // namespace vexmark::win32
