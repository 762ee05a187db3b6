#include <gtest/gtest.h>

#include <thread>

#include "bench/core/command_line.h"
#include "bench/core/test_loops.h"
#include "vexmark_world.h"

namespace vexmark::test {
namespace {

constexpr std::uint32_t kShortStopLimitMs = 200;

// The test threads on a started desktop and encoder, stopped within a short limit.
struct LoopRig {
  explicit LoopRig(const char* command_line)
      : desktop(world.log,
                {world.gdi, world.windowing, world.direct_draw, world.kmd, world.sync, world.clock},
                world.state, world.app),
        encoder(world.log, {world.gdi, world.kmd, world.gpu, 4242}, world.state),
        threads(world.log,
                TestLoopPorts{world.sync, world.clock, world.windowing, kShortStopLimitMs},
                world.state) {
    vProcessCMDLine(command_line, world.state.options, world.log);
    EXPECT_TRUE(desktop.Startup());
    ScreenInfo info = desktop.GetScreenInfo();
    encoder.SetLocalFormat(info.format, info.framebufferWidth, info.framebufferHeight);
    world.state.frameSize = static_cast<std::uint32_t>(desktop.FrameBytes());
    threads.SetObjects(&desktop, &encoder);
  }

  // Starts the threads with the screen capture after count held, and lets it go stop_ms of
  // real time after it was reached.
  std::thread StartHoldingCapture(bool multi_thread, int count, int stop_ms) {
    world.gdi.HoldCapturesAfter(count);
    threads.StartTestThreads(multi_thread);
    std::thread releaser([this, stop_ms] {
      world.gdi.WaitUntilHeld();
      std::this_thread::sleep_for(std::chrono::milliseconds(stop_ms));
      world.gdi.ReleaseCaptures();
    });
    world.gdi.WaitUntilHeld();
    return releaser;
  }

  VexmarkWorld world;
  vncDesktop desktop;
  vncEncoder encoder;
  TestThreads threads;
};

// A thread left running past its stop limit is never joined, by design: the thread sanitizer
// is told not to report it at exit.
extern "C" const char* __tsan_default_options() { return "report_thread_leaks=0"; }

TEST(TestThreads, ACaptureThatOutlastsTheLimitIsLeftRunningAndNothingIsStartedAgain) {
  LoopRig rig("-c -f 100000");
  std::thread releaser = rig.StartHoldingCapture(false, 2, 3 * kShortStopLimitMs);
  EXPECT_FALSE(EndsWithin([&] { return rig.threads.StopTestThreads(false); }));
  EXPECT_TRUE(rig.world.HasLine("VexmarkThreadProc: did not stop within 200 ms, left running.\n"));
  EXPECT_TRUE(rig.threads.ThreadLeftRunning());
  rig.threads.StartTestThreads(false);
  releaser.join();
  // Its exit event is still there: once the capture returns, the thread leaves.
  for (int i = 0; i < 500 && !rig.world.HasLine("VexmarkThreadProc: Exit.\n"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(rig.world.CountStartingWith("VexmarkThreadProc: Created."), 1);
  EXPECT_TRUE(rig.world.HasLine("VexmarkThreadProc: Exit.\n"));
}

TEST(TestThreads, StoppingWhileTheRingFillsLeavesNoTimerBehind) {
  LoopRig rig("-n -t 60");
  // The 31st capture, which sets the test-time timer, ends while the threads are stopped.
  std::thread releaser =
      rig.StartHoldingCapture(true, kRingFillBeforeEncode - 1, kShortStopLimitMs / 4);
  EXPECT_TRUE(rig.threads.StopTestThreads(true));
  releaser.join();
  EXPECT_EQ(rig.world.windowing.timers_set().size(), 1u);
  EXPECT_EQ(rig.world.windowing.live_timers(), 0);
}

}  // namespace
}  // namespace vexmark::test
