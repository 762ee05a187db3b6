// Whole runs of the benchmark on the simulated world, as a user of vexmark observes them: exit
// code, debug lines and what was left behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "vexmark_world.h"

namespace vexmark::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(Scenario, FrameLimitRunLogsEveryStepInOrderAndExitsWithTheCount) {
  VexmarkWorld world;
  EXPECT_EQ(world.Run("-f 30"), 30);
  int version = world.Find("Vexmark program v1.07.\n");
  int options = world.Find("<== vProcessCMDLine\n");
  int screen = world.Find("Screen Info: 64x48x32bpp.\n");
  int buffers = world.Find("Allocate encode buffer: 12288 bytes...\n");
  int first = world.Find("VexmarkThreadProc: Created.\n");
  int timer = world.Find("DesktopWndProc: got TIMER_FPS_EXIT msg.\n");
  int report = world.Find("VexmarkThreadProc: Exit.\n");
  int last = world.Find("return iVexmark10s: 30.\n");
  EXPECT_EQ(version, 0);
  EXPECT_LT(version, options);
  EXPECT_LT(options, screen);
  EXPECT_LT(screen, buffers);
  EXPECT_LT(buffers, first);
  EXPECT_LT(first, report);
  EXPECT_LT(timer, last);
  EXPECT_LT(report, last);
  EXPECT_EQ(world.CountStartingWith("VexmarkThreadProc: Vexmark("), 30);
  EXPECT_THAT(world.Lines(), Contains(HasSubstr("Vexmark(0030): capture screen 12288 bytes & "
                                                "encode to ")));
  auto lines = world.Lines();
  EXPECT_THAT(
      std::vector<std::string>(lines.end() - 6, lines.end()),
      ElementsAre("Free buffers...\n", "Delete Encoder...\n", "In ~vncEncoder()...\n",
                  "Delete Desktop...\n", "In ~vncDesktop()...\n", "return iVexmark10s: 30.\n"));
  EXPECT_EQ(world.gdi.live_objects(), 0);
  EXPECT_EQ(world.windowing.live_windows(), 0);
  EXPECT_EQ(world.direct_draw.live_objects, 0);
}

TEST(Scenario, CaptureOnlyAndEncodeOnlyReports) {
  VexmarkWorld capture;
  EXPECT_EQ(capture.Run("-c -f 4"), 4);
  EXPECT_TRUE(capture.HasLine(
      "VexmarkThreadProc: Vexmark(0004): capture screen 12288 bytes & return to 12288 bytes.\n"));
  EXPECT_TRUE(
      capture.HasLine("VexmarkThreadProc: Total capture 48 k bytes, compression rate: "
                      "(48 kB/48 kB)=1.00\n"));

  VexmarkWorld encode;
  EXPECT_EQ(encode.Run("-e -f 3"), 3);
  EXPECT_EQ(encode.CountStartingWith("VexmarkThreadProc: Vexmark(0003): capture screen 0 bytes & "
                                     "encode to "),
            1);
  EXPECT_EQ(encode.CountStartingWith("VexmarkThreadProc: Total capture"), 0);
  // Only the frame captured at set-up was taken from the screen.
  EXPECT_EQ(encode.gdi.screen_captures(), 1);
}

TEST(Scenario, SecondInstanceExitsAtOnce) {
  VexmarkWorld world;
  world.mutexes.HoldElsewhere(kVexmarkMutexName);
  EXPECT_EQ(world.Run("-f 5"), 0);
  EXPECT_THAT(world.Lines(),
              ElementsAre("Vexmark program v1.07.\n", "Another instance is already running!\n"));
}

TEST(Scenario, UnsupportedGpuBenchmarkTypeExitsWithZero) {
  VexmarkWorld world;
  EXPECT_EQ(world.Run("-b 7"), 0);
  EXPECT_TRUE(world.HasLine("Unsupported Benchmark type 7!\n"));
  EXPECT_TRUE(world.HasLine("GPU Benchmark FPS = 0\n"));
  EXPECT_EQ(world.CountStartingWith("VexmarkThreadProc"), 0);
}

TEST(Scenario, GpuBenchmarkMeasuresTheSelectedStages) {
  VexmarkWorld world;
  world.gpu.faults.encoding_fps = 57;
  EXPECT_EQ(world.Run("-b 1 -g 60"), 57);
  EXPECT_TRUE(world.HasLine("Test GPU_DCT+CPU_VLE FPS...\n"));
  EXPECT_THAT(world.gpu.log.calls, Contains("CreateContext 64x48 q60"));
  EXPECT_THAT(world.gpu.log.calls, Contains("GetEncodingFPS 30 3"));
}

TEST(Scenario, GpuEncoderRoutesFullScreenFramesAndFailsOverNothing) {
  VexmarkWorld world;
  EXPECT_EQ(world.Run("-g 30 -f 2"), 2);
  // The frame loop codes at the level table's quality, whatever -g said.
  EXPECT_THAT(world.gpu.log.calls, Contains("SetQuality 80"));
  EXPECT_EQ(std::count(world.gpu.log.calls.begin(), world.gpu.log.calls.end(), "CPUEncodeVLE_IJL"),
            2);

  VexmarkWorld refused;
  refused.gpu.faults.refuse_creation = true;
  EXPECT_EQ(refused.Run("-g -f 2"), 2);
  EXPECT_TRUE(refused.HasLine("vncEncoder::Init: No memory to allocate GPUEncoder!\n"));
  EXPECT_EQ(refused.CountStartingWith("VexmarkThreadProc: Vexmark(0002): capture screen 12288 "
                                      "bytes & encode to "),
            1);
}

TEST(Scenario, TwoThreadFrameLimitRun) {
  VexmarkWorld world;
  EXPECT_EQ(world.Run("-n -f 100"), 100);
  EXPECT_TRUE(world.HasLine("attempting to create multiple DIB section buffers\n"));
  EXPECT_EQ(world.CountStartingWith("FPSEncodeThreadProc: FPSEncode(0100): encode screen "), 1);
  EXPECT_EQ(world.CountStartingWith("FPSEncodeThreadProc: FPSEncode("), 100);
  int resumed = world.Find("FPSEncodeThreadProc: Created.\n");
  int capture31 = -1;
  auto lines = world.Lines();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (lines[i].rfind("FPSCaptureThreadProc: FPSCapture(0031)", 0) == 0) capture31 = i;
  }
  // The encode thread starts working only once the ring holds 31 frames.
  EXPECT_GT(resumed, capture31);
  EXPECT_TRUE(world.windowing.timers_set().empty());
  EXPECT_EQ(world.gdi.live_objects(), 0);
}

TEST(Scenario, TwoThreadRunStoppedBeforeTheRingFilledEndsWithoutHanging) {
  VexmarkWorld world;
  // A mode change while the ring fills: the encode thread was never let go when the restart
  // stops the threads.
  world.gdi.HoldCapturesAfter(11);
  std::thread changer([&] {
    world.gdi.WaitUntilHeld();
    world.screen.ChangeMode(64, 48, 32);
    world.windowing.PostWindowMessage({world.windowing.last_window(), kWmDisplayChange, 32, 0});
    world.gdi.ReleaseCaptures();
  });
  EXPECT_EQ(world.Run("-n -f 60"), 60);
  changer.join();
  int restart = world.Find("DesktopWndProc: re-init Desktop & Encoder objects...\n");
  ASSERT_GE(restart, 0);
  // The encode thread ran only when the restart let it go, and then left at once.
  int released = world.Find("FPSEncodeThreadProc: Created.\n");
  EXPECT_GT(released, restart);
  EXPECT_GT(world.Find("FPSEncodeThreadProc: Display changed, quit test.\n"), released);
  EXPECT_EQ(world.CountStartingWith("FPSEncodeThreadProc: FPSEncode("), 60);
  EXPECT_TRUE(world.windowing.timers_set().empty());
}

TEST(Scenario, TwoThreadFrameLimitRunEndsWhenEitherThreadFails) {
  // An 8 x 8 frame leaves no room for a JPEG: every encode fails.
  VexmarkWorld encode_fails({.width = 8, .height = 8});
  EXPECT_EQ(EndsWithin([&] { return encode_fails.Run("-n -f 40"); }), 0);
  EXPECT_TRUE(encode_fails.HasLine("FPSEncodeThreadProc: FPSEncode failed! quit test.\n"));
  EXPECT_TRUE(encode_fails.HasLine("DesktopWndProc: got TIMER_FPS_EXIT msg.\n"));

  VexmarkWorld wait_fails;
  wait_fails.sync.fail_two_event_waits = true;
  EXPECT_EQ(EndsWithin([&] { return wait_fails.Run("-n -f 40"); }), 0);
  EXPECT_TRUE(
      wait_fails.HasLine("FPSCaptureThreadProc: WaitForMultipleObjects returns error! 6\n"));
}

TEST(Scenario, TwoThreadStartWithFailingDibSectionsUsesHeapSlots) {
  VexmarkWorld world;
  world.gdi.faults.dib_sections_before_failure = 5;
  EXPECT_EQ(world.Run("-n -f 40"), 40);
  EXPECT_TRUE(world.HasLine("failed to create DIB section - reverting to slow blits\n"));
  EXPECT_FALSE(world.HasLine("enabled fast DIBsection blits OK\n"));
  EXPECT_EQ(world.gdi.live_objects(), 0);
}

TEST(Scenario, TestTimeRunEndsOnTheTimer) {
  VexmarkWorld world({.real_time = true, .capture_cost_ms = 5});
  int frames = world.Run("-t 1");
  EXPECT_GT(frames, 20);
  EXPECT_TRUE(world.HasLine("DesktopWndProc: got TIMER_FPS_EXIT msg.\n"));
  ASSERT_EQ(world.windowing.timers_set().size(), 1u);
  EXPECT_EQ(world.windowing.timers_set()[0].first, 1010u);
}

TEST(Scenario, TwoThreadTestTimeStartsWhenTheRingHolds31Frames) {
  VexmarkWorld world({.real_time = true, .capture_cost_ms = 2});
  int frames = world.Run("-n -t 1");
  EXPECT_GT(frames, 31);
  ASSERT_EQ(world.windowing.timers_set().size(), 1u);
  EXPECT_TRUE(world.HasLine("FPSEncodeThreadProc: Exit.\n"));
  EXPECT_TRUE(world.HasLine("FPSCaptureThreadProc: Exit.\n"));
}

TEST(Scenario, IntervalLimitsTheFrameRate) {
  VexmarkWorld world({.real_time = true});
  int frames = world.Run("-i 200 -t 1");
  EXPECT_GE(frames, 4);
  EXPECT_LE(frames, 6);
}

TEST(Scenario, DisplayChangeRestartsWithZeroedCounters) {
  VexmarkWorld world({.real_time = true, .capture_cost_ms = 1});
  std::thread changer([&] {
    while (world.state.iVexmark10s < 5) std::this_thread::yield();
    world.windowing.PostWindowMessage({world.windowing.last_window(), kWmDisplayChange, 32, 0});
  });
  int frames = world.Run("-f 20");
  changer.join();
  EXPECT_EQ(frames, 20);
  int change = world.Find("DesktopWndProc: got WM_DISPLAYCHANGE msg.\n");
  int restart = world.Find("DesktopWndProc: re-init Desktop & Encoder objects...\n", change);
  ASSERT_GE(change, 0);
  ASSERT_GT(restart, change);
  // Counting starts again from one after the restart.
  auto lines = world.Lines();
  bool restarted_from_one = false;
  for (int i = restart; i < static_cast<int>(lines.size()); ++i) {
    if (lines[i].rfind("VexmarkThreadProc: Vexmark(0001)", 0) == 0) restarted_from_one = true;
  }
  EXPECT_TRUE(restarted_from_one);
  EXPECT_EQ(world.Find("Init Deskop...\n", restart) > restart, true);
  EXPECT_EQ(world.gdi.live_objects(), 0);
}

TEST(Scenario, JudgedDriverWithBothFlagsCapturesThroughShadowBuffers) {
  VexmarkWorld world;
  world.driver.version.wddm1_0 = 1;
  world.driver.version.wddm1_1 = 1;
  EXPECT_EQ(world.Run("-j -f 4"), 4);
  EXPECT_TRUE(
      world.HasLine("QueryVersionInfo: ZynKmdFltr driver ver: 1.3, WDDM1_0:1, "
                    "WDDM1_1:1.\n"));
  EXPECT_TRUE(world.HasLine("DeviceIoControl IOCTL_KMDFLTR_QVI status:0.\n"));
  EXPECT_TRUE(world.HasLine("Use WDDM 1.0 kernal-mode rendering.\n"));
  EXPECT_TRUE(world.HasLine("Primary display driver is Kelv.\n"));
  EXPECT_TRUE(world.HasLine("Event SendPingUpdateInProgress Opened.\n"));
  EXPECT_TRUE(world.HasLine("Close KMD adapter...\n"));
  // Shut down and then destroyed: the disconnect is sent twice.
  EXPECT_EQ(world.CountStartingWith("Disconnect from WDDM 1.0 kernal-mode driver...\n"), 2);
  EXPECT_EQ(world.driver.open_event_handles(), 0);
}

TEST(Scenario, WithoutTheDriverTheJudgeFallsBackToGdi) {
  VexmarkWorld world;
  world.driver.installed = false;
  EXPECT_EQ(world.Run("-j -f 2"), 2);
  EXPECT_TRUE(world.HasLine("CreateFile failed!  Error = 2\n"));
  EXPECT_TRUE(world.HasLine("Open the KMDFLTR device failed! 2\n"));
  EXPECT_TRUE(world.HasLine("Close the KMDFLTR device...\n"));
  EXPECT_FALSE(world.HasLine("Init WDDM 1.0 kernal-mode rendering...\n"));

  VexmarkWorld neither;
  neither.driver.version.wddm1_0 = 0;
  neither.driver.version.wddm1_1 = 0;
  EXPECT_EQ(neither.Run("-j -f 1"), 1);
  EXPECT_TRUE(neither.HasLine("Use GDI.\n"));
}

TEST(Scenario, Wddm10AdapterOpeningClassifiesThePrimaryAndFailsCleanly) {
  struct Case {
    const char* id;
    const char* line;
  } cases[] = {{"PCI\\VEN_4F52&DEV_1", "Primary display driver is Orsa.\n"},
               {"PCI\\VEN_1002&DEV_1", "Primary display driver is ATI.\n"},
               {"ROOT\\BASICDISPLAY", "Primary display driver is OTHER.\n"}};
  for (const Case& c : cases) {
    VexmarkWorld world;
    world.gdi.display_devices = {{"\\\\.\\DISPLAY2", kDisplayAttachedToDesktop, "PCI\\VEN_4B45"},
                                 {"\\\\.\\DISPLAY1", 5, c.id}};
    EXPECT_EQ(world.Run("-x -f 1"), 1) << c.id;
    EXPECT_TRUE(world.HasLine(c.line)) << c.id;
  }
  VexmarkWorld none;
  none.gdi.display_devices = {{"\\\\.\\DISPLAY1", kDisplayAttachedToDesktop, "PCI\\VEN_4B45"}};
  EXPECT_EQ(none.Run("-x -f 1"), 0);
  EXPECT_TRUE(none.HasLine("Primary display driver is Kelv.\n"));
  EXPECT_TRUE(none.HasLine("Can not find primary display driver!\n"));
  EXPECT_FALSE(none.HasLine("Init Deskop...\n"));

  VexmarkWorld no_thunks;
  no_thunks.driver.thunks_present = false;
  EXPECT_EQ(no_thunks.Run("-x -f 1"), 0);
  EXPECT_TRUE(no_thunks.HasLine("KmdOpenAdapter - InitKernelThunks failed!\n"));
  EXPECT_TRUE(no_thunks.HasLine("KmdOpenAdapter failed!\n"));

  VexmarkWorld refused;
  refused.driver.failing_commands = {kKmdConnect};
  EXPECT_EQ(refused.Run("-x -f 1"), 0);
  EXPECT_TRUE(
      refused.HasLine("KmdConnect - Escape call to connect to the filter driver failed!\n"));
  EXPECT_TRUE(refused.HasLine("KmdConnect failed!\n"));
  EXPECT_TRUE(refused.HasLine("Deskop Startup failed!\n"));
  EXPECT_EQ(refused.gdi.live_objects(), 0);
}

TEST(Scenario, Wddm11CaptureDrawsTheSequenceOnTheSinkWindow) {
  VexmarkWorld world;
  EXPECT_EQ(world.Run("-k -f 1"), 1);
  auto windows = world.windowing.windows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].shape.ex_style, kWsExToolWindow);
  EXPECT_EQ(windows[0].shape.style, 0x90C80000u);
  EXPECT_EQ(windows[0].shape.x, 64);
  EXPECT_EQ(windows[0].shape.y, 48);
  EXPECT_EQ(windows[0].shape.width, 70);
  EXPECT_EQ(windows[0].shape.height, 74);
  EXPECT_TRUE(windows[0].shown);
  // Set-up's first frame and the loop's frame.
  std::vector<std::string> one = {"FillRect window 0,0,222,173 colour EDEFBE",
                                  "BitBlt window 202x254 SRCINVERT",
                                  "BitBlt from window 64x48 SRCCOPY"};
  std::vector<std::string> expected = one;
  expected.insert(expected.end(), one.begin(), one.end());
  EXPECT_EQ(world.gdi.window_drawing(), expected);
}

TEST(Scenario, ExclusiveModeSkipsOneCaptureEachWayOnlyInWddm11) {
  VexmarkWorld world;
  world.screen.set_exclusive_mode(true);
  const char* taken = "CaptureScreenFromAdapterGeneral: some other app has set exclusive mode!\n";
  EXPECT_EQ(world.Run("-k -f 3"), 3);
  EXPECT_EQ(world.CountStartingWith(taken), 4);
  EXPECT_EQ(world.CountStartingWith("CaptureScreenFromAdapterGeneral: Wait some time to let "
                                    "exclude mode steady...\n"),
            1);
  // Set-up's capture was skipped; the three loop frames captured.
  EXPECT_EQ(world.gdi.window_drawing().size(), 9u);

  VexmarkWorld gdi;
  gdi.screen.set_exclusive_mode(true);
  EXPECT_EQ(gdi.Run("-f 3"), 3);
  EXPECT_EQ(gdi.CountStartingWith(taken), 4);
  EXPECT_EQ(gdi.CountStartingWith("CaptureScreenFromAdapterGeneral: Wait some time"), 0);
  EXPECT_EQ(gdi.gdi.screen_captures(), 4);
}

TEST(Scenario, BadStartUpsEndInTearDown) {
  VexmarkWorld no_dc;
  no_dc.gdi.faults.fail_screen_dc = true;
  EXPECT_EQ(no_dc.Run("-f 1"), 0);
  EXPECT_TRUE(no_dc.HasLine("GetDC() failed, error=87\n"));
  EXPECT_TRUE(no_dc.HasLine("Deskop Startup failed!\n"));

  VexmarkWorld no_window;
  no_window.windowing.fail_create = true;
  EXPECT_EQ(no_window.Run("-f 1"), 0);
  EXPECT_TRUE(no_window.HasLine("CreateWindow() failed.\n"));
  EXPECT_EQ(no_window.gdi.live_objects(), 0);

  VexmarkWorld huge({.width = 65535, .height = 65535, .bits = 32});
  EXPECT_EQ(huge.Run("-f 1"), 0);
  EXPECT_TRUE(huge.HasLine("unsupported screen size 65535x65535\n"));
}

}  // namespace
}  // namespace vexmark::test
