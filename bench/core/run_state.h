// The benchmark's process-wide state: options, the derived GPU-capture flag, the capture
// rectangle and buffers of the current set-up, the filter driver adapter and the run counters.
// One instance, owned by the composition root.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

#include "bench/core/options.h"
#include "bench/core/pixel_format.h"

namespace vexmark {

struct FrameBuffer {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
  std::uint8_t* get() const { return data.get(); }
};

struct RunState {
  VexmarkOptions options;
  // Capture goes straight into the GPU encoder's texture.
  int g_bUseGPUEncoderCapture = 0;

  Rect captureRect;
  std::uint32_t frameSize = 0;
  FrameBuffer screenBuffer;
  FrameBuffer encodeBuffer;
  std::uint32_t adapter = 0;

  // Written by one thread at a time (the single or encode thread), read by the main thread.
  std::atomic<std::int32_t> iVexmark10s{0};
  std::atomic<std::uint64_t> totalCapturedBytes{0};
  std::atomic<std::uint64_t> totalEncodedBytes{0};
};

}  // namespace vexmark
