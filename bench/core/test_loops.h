// The measured loops: one thread that captures and encodes frame after frame, or a capture
// thread and an encode thread joined by the desktop's 32-slot ring; the stop conditions, the
// frame counter and the throughput report.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "bench/core/debug_log.h"
#include "bench/core/run_state.h"
#include "bench/core/stopwatch.h"
#include "bench/core/vnc_desktop.h"
#include "bench/core/vnc_encoder.h"
#include "bench/core/windowing.h"
#include "platform/sync.h"

namespace vexmark {

inline constexpr std::uint64_t TIMER_FPS_EXIT = 1;
inline constexpr int kRingFillBeforeEncode = 31;

struct TestLoopPorts {
  platform::Sync& sync;
  platform::Clock& clock;
  Windowing& windowing;
};

class TestThreads {
 public:
  TestThreads(DebugLog& log, const TestLoopPorts& ports, RunState& state)
      : log_(log), ports_(ports), state_(state), stopwatch_(ports.clock) {}
  ~TestThreads() {
    StopTestThreads(false);
    StopTestThreads(true);
  }

  // The objects the loops work on; either may be null.
  void SetObjects(vncDesktop* desktop, vncEncoder* encoder) {
    desktop_ = desktop;
    encoder_ = encoder;
  }
  void StartTestThreads(bool multi_thread);
  void StopTestThreads(bool multi_thread);
  // Whether the single thread (or, in two-thread mode, the capture thread) exists.
  bool HasTestThread(bool multi_thread) const {
    return multi_thread ? capture_thread_ != nullptr : vexmark_thread_ != nullptr;
  }

  std::uint32_t VexmarkFrame(const Rect& rect, std::uint32_t& captured_size);
  std::uint32_t FPSCapture(int slot, const Rect& rect);
  std::uint32_t FPSEncode(const Rect& rect, int slot);

 private:
  void VexmarkThreadProc();
  void FPSCaptureThreadProc();
  void FPSEncodeThreadProc();
  void SetExitTimer();
  void PostExitTimer();
  void LogReport(const char* thread, std::uint64_t captured, std::uint64_t encoded);
  std::span<std::uint8_t> Source();
  std::span<std::uint8_t> EncodeBuffer();
  bool FrameLimitReached() const;

  DebugLog& log_;
  TestLoopPorts ports_;
  RunState& state_;
  Stopwatch stopwatch_;
  vncDesktop* desktop_ = nullptr;
  vncEncoder* encoder_ = nullptr;

  std::atomic<std::uint64_t> timer_id_{0};
  std::unique_ptr<platform::Event> g_hVexmarkThreadExitEvent;
  std::unique_ptr<platform::Thread> vexmark_thread_;
  std::unique_ptr<platform::Event> g_hFPSCaptureThreadExitEvent;
  std::unique_ptr<platform::Event> g_hFPSEncodeThreadExitEvent;
  // The encode thread waits here until the ring holds 31 frames (or the run is stopped).
  std::unique_ptr<platform::Event> encode_resume_;
  std::unique_ptr<platform::Thread> capture_thread_;
  std::unique_ptr<platform::Thread> encode_thread_;
};

}  // namespace vexmark
