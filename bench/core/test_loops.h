// The measured loops: one thread that captures and encodes frame after frame, or a capture
// thread and an encode thread joined by the desktop's 32-slot ring; the stop conditions, the
// frame counter and the throughput report.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
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
// How long stopping waits for a test thread. A thread looks at its exit event between frames;
// the longest step before it looks again is a capture that waits 2 s for the filter driver plus
// the 100 ms ready-marker limit, or the 1 s pause after an exclusive-mode change, and one encode
// (well under a second even at 4K). Ten seconds is more than twice that.
inline constexpr std::uint32_t kThreadStopLimitMs = 10000;

struct TestLoopPorts {
  platform::Sync& sync;
  platform::Clock& clock;
  Windowing& windowing;
  std::uint32_t stop_limit_ms = kThreadStopLimitMs;
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
  // False when a thread did not stop within the limit: it is left running, with everything it
  // uses, and the desktop and encoder objects must not be touched again.
  bool StopTestThreads(bool multi_thread);
  bool ThreadLeftRunning() const { return left_running_; }
  // Set while the threads are being stopped, for waits inside a capture.
  const std::atomic<bool>& StopRequested() const { return stop_requested_; }
  // Whether the single thread (or, in two-thread mode, the capture thread) exists.
  bool HasTestThread(bool multi_thread) const {
    return multi_thread ? capture_thread_.thread != nullptr : vexmark_thread_.thread != nullptr;
  }

  std::uint32_t VexmarkFrame(const Rect& rect, std::uint32_t& captured_size);
  std::uint32_t FPSCapture(int slot, const Rect& rect);
  std::uint32_t FPSEncode(const Rect& rect, int slot);

 private:
  // A test thread and the event it sets when its body has returned.
  struct TestThread {
    std::unique_ptr<platform::Thread> thread;
    std::unique_ptr<platform::Event> done;
  };
  TestThread Start(std::function<void()> body);
  bool Join(TestThread& thread, const char* name);
  // After a failure that ends a thread: without a timer to come, nothing else would end the run.
  void QuitIfNoTimerDue();
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
  std::atomic<bool> stop_requested_{false};
  bool left_running_ = false;
  std::unique_ptr<platform::Event> g_hVexmarkThreadExitEvent;
  TestThread vexmark_thread_;
  std::unique_ptr<platform::Event> g_hFPSCaptureThreadExitEvent;
  std::unique_ptr<platform::Event> g_hFPSEncodeThreadExitEvent;
  // The encode thread waits here until the ring holds 31 frames (or the run is stopped).
  std::unique_ptr<platform::Event> encode_resume_;
  TestThread capture_thread_;
  TestThread encode_thread_;
};

}  // namespace vexmark
