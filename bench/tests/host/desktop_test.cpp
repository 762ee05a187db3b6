#include "bench/core/vnc_desktop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "vexmark_world.h"

namespace vexmark::test {
namespace {

// The desktop object on a simulated screen of the given depth.
struct DesktopRig {
  explicit DesktopRig(int bits, int width = 32, int height = 16)
      : world({.width = width, .height = height, .bits = bits}),
        desktop(world.log,
                {world.gdi, world.windowing, world.direct_draw, world.kmd, world.sync, world.clock},
                world.state, world.app) {}

  // One capture of the whole screen into a buffer of its own.
  std::vector<std::uint8_t> Capture() {
    ScreenInfo info = desktop.GetScreenInfo();
    std::vector<std::uint8_t> frame(desktop.FrameBytes());
    world.screen.set_changes_per_capture(false);
    desktop.CaptureScreenFromAdapterGeneral({0, 0, info.framebufferWidth, info.framebufferHeight},
                                            frame.data(), frame.size());
    return frame;
  }

  // Pixels of the last row and column in frame (laid out as the desktop says) that differ from
  // the screen's own.
  int WrongEdgePixels(const std::vector<std::uint8_t>& frame) {
    const sim::SimScreen& screen = world.screen;
    int bytes = desktop.GetScreenInfo().format.bitsPerPixel / 8;
    int wrong = 0;
    for (int y = 0; y < screen.height(); ++y) {
      for (int x = 0; x < screen.width(); ++x) {
        if (y != screen.height() - 1 && x != screen.width() - 1) continue;
        std::uint32_t pixel = 0;
        std::memcpy(&pixel, &frame[y * desktop.BytesPerRow() + x * bytes], bytes);
        std::uint32_t rgb = screen.DevicePixel(x, y);
        std::uint32_t expected = bytes == 1   ? rgb
                                 : bytes == 2 ? ((rgb >> 19) & 0x1F) << 11 |
                                                    ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F)
                                              : rgb & 0xFFFFFF;
        if ((bytes == 4 ? pixel & 0xFFFFFF : pixel) != expected) ++wrong;
      }
    }
    return wrong;
  }

  VexmarkWorld world;
  vncDesktop desktop;
};

TEST(Desktop, TwentyFourBitScreenIsCapturedAsThirtyTwoThroughGetDIBits) {
  DesktopRig rig(24);
  ASSERT_TRUE(rig.desktop.Startup());
  PixelFormat f = rig.desktop.GetScreenInfo().format;
  EXPECT_EQ(f.bitsPerPixel, 32);
  EXPECT_EQ(f.depth, 24);
  EXPECT_EQ(std::vector<int>({f.redShift, f.greenShift, f.blueShift}),
            std::vector<int>({16, 8, 0}));
  EXPECT_EQ(rig.desktop.DibBits(), nullptr);
  EXPECT_FALSE(rig.world.HasLine("enabled fast DIBsection blits OK\n"));
  std::vector<std::uint8_t> frame = rig.Capture();
  for (int y : {0, 7, 15}) {
    for (int x : {0, 13, 31}) {
      std::uint32_t pixel;
      std::memcpy(&pixel, &frame[(y * 32 + x) * 4], 4);
      EXPECT_EQ(pixel & 0xFFFFFF, rig.world.screen.DevicePixel(x, y)) << x << "," << y;
    }
  }
}

TEST(Desktop, SixteenBitScreenIsReadAsFiveSixFive) {
  DesktopRig rig(16);
  ASSERT_TRUE(rig.desktop.Startup());
  PixelFormat f = rig.desktop.GetScreenInfo().format;
  EXPECT_EQ(std::vector<int>({f.redMax, f.greenMax, f.blueMax}), std::vector<int>({31, 63, 31}));
  EXPECT_EQ(std::vector<int>({f.redShift, f.greenShift, f.blueShift}),
            std::vector<int>({11, 5, 0}));
  EXPECT_NE(rig.desktop.DibBits(), nullptr);
  // The driver's header says plain 16-bit (5-5-5); the frame still comes as 5-6-5.
  std::vector<std::uint8_t> frame = rig.Capture();
  std::vector<std::uint8_t> bits(rig.desktop.DibBits(),
                                 rig.desktop.DibBits() + rig.desktop.FrameBytes());
  for (int x : {1, 20, 31}) {
    std::uint16_t pixel;
    std::memcpy(&pixel, &bits[(5 * 32 + x) * 2], 2);
    std::uint32_t rgb = rig.world.screen.DevicePixel(x, 5);
    std::uint16_t expected = static_cast<std::uint16_t>(
        ((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F));
    EXPECT_EQ(pixel, expected) << x;
  }
}

TEST(Desktop, OddWidthFramesKeepPaddedRowsOnEveryPath) {
  // 16 bits: the DIB section's rows; 8 bits: GetDIBits' rows.
  for (int bits : {16, 8}) {
    DesktopRig rig(bits, 33, 9);
    ASSERT_TRUE(rig.desktop.Startup());
    EXPECT_EQ(rig.desktop.BytesPerRow(), bits == 16 ? 68u : 36u);
    EXPECT_EQ(rig.WrongEdgePixels(rig.Capture()), 0) << bits;
  }
  // The filter driver's frame, copied into a buffer of the desktop's own: it is the frame, and
  // nothing from the memory bitmap is copied over it.
  DesktopRig shadow(16, 33, 9);
  shadow.world.state.options.bUseKMDRenderWDDM1_0 = 1;
  shadow.world.state.adapter = shadow.world.kmd.KmdOpenAdapter(1);
  ASSERT_TRUE(shadow.desktop.Startup());
  EXPECT_EQ(shadow.WrongEdgePixels(shadow.Capture()), 0);
}

TEST(Desktop, PaletteAndUnsupportedTrueColourFormats) {
  DesktopRig palette(8);
  ASSERT_TRUE(palette.desktop.Startup());
  EXPECT_TRUE(palette.world.HasLine("DBG:palette-based desktop in SetPixShifts()\n"));
  EXPECT_EQ(palette.desktop.DibBits(), nullptr);  // palette desktops count as converted

  DesktopRig odd(8);
  odd.world.gdi.faults.palette_screen_claims_true_colour = true;
  EXPECT_FALSE(odd.desktop.Startup());
  EXPECT_TRUE(odd.world.HasLine("unsupported truecolour pixel format for SetPixShifts()\n"));
  odd.desktop.Shutdown();
  odd.desktop.Shutdown();
  EXPECT_EQ(odd.world.gdi.live_objects(), 0);
}

TEST(Desktop, ModeChangeSeenByDirectDrawSetsTheFlagAndSkipsTheCapture) {
  DesktopRig rig(32);
  ASSERT_TRUE(rig.desktop.Startup());
  int captures = rig.world.gdi.screen_captures();
  rig.world.screen.ChangeMode(32, 16, 32);
  rig.Capture();
  EXPECT_TRUE(rig.desktop.DisplayChanged());
  EXPECT_EQ(rig.world.gdi.screen_captures(), captures);
  EXPECT_TRUE(
      rig.world.HasLine("CaptureScreenFromAdapterGeneral: The display mode has changed!\n"));
}

TEST(Desktop, ARectangleOutsideTheBufferIsNotCopied) {
  DesktopRig rig(24);
  ASSERT_TRUE(rig.desktop.Startup());
  std::vector<std::uint8_t> small(100, 0x11);
  rig.desktop.CaptureScreenFromAdapterGeneral({0, 0, 32, 16}, small.data(), small.size());
  EXPECT_EQ(small, std::vector<std::uint8_t>(100, 0x11));
  EXPECT_TRUE(rig.world.HasLine("CopyToBuffer: rectangle does not fit the buffer!\n"));
}

}  // namespace
}  // namespace vexmark::test
