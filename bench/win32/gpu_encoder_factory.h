// The composition root's one choice of GPU encoder for the Windows build.
#pragma once
#include <memory>

#include "bench/core/debug_log.h"
#include "bench/core/mj_gpu_encoder.h"
#include "platform/sync.h"

namespace vexmark::win32 {

std::unique_ptr<MJGPUEncoderFactory> MakeGpuEncoderFactory(DebugLog& log,
                                                           GpuCaptureDriver& capture_driver,
                                                           platform::Clock& clock);

}  // namespace vexmark::win32
