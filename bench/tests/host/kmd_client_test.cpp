#include "bench/core/kmd_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "bench/core/kmd_status_names.h"
#include "vexmark_world.h"

namespace vexmark::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr int kWidth = 40;
constexpr int kHeight = 30;
constexpr std::uint32_t kAdapter = 0x40000001;

// The filter driver client on the simulated driver, connected to a 40 x 30 32-bit screen.
class KmdClientTest : public ::testing::Test {
 protected:
  KmdClientTest()
      : screen_(kWidth, kHeight, 32),
        driver_(screen_, clock_),
        paced_(clock_, driver_),
        log_(output_),
        kmd_(log_,
             {driver_.device(), driver_.thunks(), driver_.events(), driver_.memory(), paced_}) {}

  void Connect(std::uint8_t mode = 1) {
    kmd_.set_update_mode(mode);
    ASSERT_EQ(kmd_.KmdOpenAdapter(0x99), kAdapter);
    ASSERT_EQ(kmd_.KmdConnect(kAdapter, mode), 1);
  }

  std::vector<std::uint8_t> Copy() {
    std::vector<std::uint8_t> frame(kWidth * kHeight * 4, 0xEE);
    kmd_.CopyKMDScreenShadowBuffer(frame, kWidth * 4);
    return frame;
  }

  // What shadow buffer index holds, rows packed.
  std::vector<std::uint8_t> Packed(int index) {
    std::vector<std::uint8_t> frame(kWidth * kHeight * 4);
    for (int y = 0; y < kHeight; ++y) {
      std::memcpy(&frame[y * kWidth * 4], driver_.shadow(index).data() + y * driver_.pitch(),
                  kWidth * 4);
    }
    return frame;
  }

  int Count(const std::string& line) {
    auto lines = output_.Lines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }

  platform::sim::VirtualClock clock_;
  sim::SimScreen screen_;
  sim::SimFilterDriver driver_;
  sim::DriverPacedClock paced_;
  platform::sim::RecordingDebugOutput output_;
  DebugLog log_;
  KmdClient kmd_;
};

TEST_F(KmdClientTest, CopiesTheBufferOfThePingOrPongThatCame) {
  Connect();
  driver_.deliver_on_wait = false;
  driver_.DeliverFrame(1);
  std::vector<std::uint8_t> pong = Copy();  // copied before the comparison is made
  EXPECT_EQ(pong, Packed(1));
  EXPECT_EQ(kmd_.current_index(), 0);
  driver_.events().Reset(1);
  driver_.DeliverFrame(0);
  std::vector<std::uint8_t> ping = Copy();
  EXPECT_EQ(ping, Packed(0));
  EXPECT_NE(Packed(0), pong);  // the screen changed between the two frames
  EXPECT_EQ(output_.Lines().back(), "Event SendPongUpdateInProgress Opened.\n");
}

TEST_F(KmdClientTest, TimeOutsAlternateBetweenTheBuffers) {
  Connect();
  driver_.deliver_on_wait = false;
  driver_.DeliverFrame(0);
  driver_.events().Reset(0);
  driver_.DeliverFrame(1);
  driver_.events().Reset(1);
  std::uint32_t before = clock_.TickCount();
  for (int index : {0, 1, 0}) {
    std::vector<std::uint8_t> frame = Copy();
    EXPECT_EQ(frame, Packed(index));
  }
  EXPECT_EQ(Count("CopyKMDScreenShadowBuffer: Wait Events time out!\n"), 3);
  EXPECT_EQ(clock_.TickCount() - before, 3 * kShadowWaitMs);
}

TEST_F(KmdClientTest, WaitsOnceForTheReadyMarkerToClear) {
  Connect();
  driver_.marker_held_sleeps = 4;
  std::vector<std::uint8_t> frame = Copy();
  EXPECT_EQ(Count("CopyKMDScreenShadowBuffer: Wait for buffer ready...\n"), 1);
  EXPECT_EQ(frame, Packed(0));
  std::uint32_t marker;
  std::memcpy(&marker, driver_.shadow(0).data() + driver_.marker_offset(), 4);
  EXPECT_NE(marker, kReadyMarker);
}

TEST_F(KmdClientTest, AMarkerThatStaysSkipsTheFrameAtItsLimitOrAtOnceWhenStopping) {
  Connect();
  std::atomic<bool> stopping{false};
  kmd_.set_stop_request(&stopping);
  const std::vector<std::uint8_t> untouched(kWidth * kHeight * 4, 0xEE);
  // A driver that stopped mid-write, then a picture whose last word is the marker value.
  for (bool stuck_writer : {true, false}) {
    driver_.marker_held_sleeps = stuck_writer ? 1 << 30 : 0;
    driver_.image_ends_with_marker = !stuck_writer;
    std::vector<std::uint8_t> frame = untouched;
    std::uint32_t before = clock_.TickCount();
    EXPECT_FALSE(EndsWithin([&] { return kmd_.CopyKMDScreenShadowBuffer(frame, kWidth * 4); }));
    EXPECT_EQ(clock_.TickCount() - before, kMarkerWaitLimitMs);
    EXPECT_EQ(frame, untouched);
  }
  EXPECT_EQ(Count("CopyKMDScreenShadowBuffer: buffer not ready after 100 ms, frame skipped.\n"), 2);

  stopping = true;
  std::vector<std::uint8_t> frame = untouched;
  std::uint32_t before = clock_.TickCount();
  EXPECT_FALSE(kmd_.CopyKMDScreenShadowBuffer(frame, kWidth * 4));
  EXPECT_EQ(clock_.TickCount(), before);
  EXPECT_EQ(Count("CopyKMDScreenShadowBuffer: test stopped, frame skipped.\n"), 1);
}

TEST_F(KmdClientTest, ManualModeAsksForACopyAndTakesTheDriversIndex) {
  Connect(0);
  EXPECT_EQ(driver_.connect_mode(), 0);
  std::vector<std::uint8_t> first = Copy();
  EXPECT_EQ(first, Packed(0));
  std::vector<std::uint8_t> second = Copy();
  EXPECT_EQ(second, Packed(1));
  EXPECT_THAT(driver_.commands(), ElementsAre(kKmdConnect, kKmdManualCopy, kKmdManualCopy));

  driver_.failing_commands = {kKmdManualCopy};
  Copy();
  EXPECT_EQ(Count("KmdManualCopy failed!\n"), 1);
}

TEST_F(KmdClientTest, GeometryThatCannotDescribeAFrameIsRefused) {
  struct Case {
    const char* what;
    sim::ShadowGeometryOverride geometry;
    std::string line;
  } cases[] = {
      {"pitch below the row size", {.pitch = 16}, "shadow buffer geometry refused!\n"},
      {"no rows", {.height = 0}, "shadow buffer geometry refused!\n"},
      {"row size overflowing",
       {.factor_a = 0xFFFFFFFF, .factor_b = 0xFFFFFFFF},
       "shadow buffer geometry refused!\n"},
      {"more rows than the destination",
       {.height = kHeight + 1},
       "shadow buffer geometry refused!\n"},
      {"rows past the buffer's end", {.pitch = 0x100000}, "shadow buffer 0 is not readable!\n"},
      {"an address of nothing", {.buffer0 = 0x7FF00000}, "shadow buffer 0 is not readable!\n"},
  };
  for (const Case& c : cases) {
    output_.Clear();
    driver_.geometry_override = c.geometry;
    driver_.deliver_on_wait = false;
    Connect();
    driver_.DeliverFrame(0);
    std::vector<std::uint8_t> frame = Copy();
    EXPECT_EQ(frame, std::vector<std::uint8_t>(frame.size(), 0xEE)) << c.what;
    EXPECT_EQ(Count("CopyKMDScreenShadowBuffer: " + c.line), 1) << c.what;
  }
}

TEST_F(KmdClientTest, FailedDisconnectKeepsTheEventsAndConnectOpensThemAgain) {
  Connect();
  driver_.failing_commands = {kKmdDisconnect};
  EXPECT_EQ(kmd_.KmdDisconnect(kAdapter), 0);
  EXPECT_EQ(driver_.open_event_handles(), 2);
  EXPECT_EQ(Count("KmdDisconnect - Escape call to disconnect to the filter driver failed!\n"), 1);
  driver_.failing_commands.clear();
  EXPECT_EQ(kmd_.KmdConnect(kAdapter, 1), 1);
  EXPECT_EQ(Count("Event SendPingUpdateInProgress Opened.\n"), 2);
  EXPECT_EQ(kmd_.KmdDisconnect(kAdapter), 1);
  EXPECT_EQ(driver_.open_event_handles(), 0);
}

TEST_F(KmdClientTest, RenderStateAsksForHardwareAccess) {
  Connect();
  EXPECT_EQ(kmd_.KmdSetRenderState(kAdapter, 1, 0), 1);
  EXPECT_EQ(driver_.last_escape_flags(), 1u);
  EXPECT_EQ(kmd_.KmdSetRenderState(kAdapter, 0, 4242), 1);
  EXPECT_THAT(driver_.render_states(), ElementsAre(std::pair(1, 0u), std::pair(0, 4242u)));
  kmd_.KmdConnect(kAdapter, 1);
  EXPECT_EQ(driver_.last_escape_flags(), 0u);
}

TEST_F(KmdClientTest, VersionQueryAndAdapterLifecycle) {
  KmdVersionInfo info{};
  EXPECT_EQ(kmd_.QueryVersionInfo(info), 0);  // no device open: nothing sent
  EXPECT_EQ(driver_.version_queries(), 0);
  EXPECT_EQ(kmd_.OpenDevice(), 0u);
  driver_.version_query_error = 170;
  EXPECT_EQ(kmd_.QueryVersionInfo(info), 0);
  EXPECT_EQ(output_.Lines().back(), "DeviceIoControl IOCTL_KMDFLTR_QVI status:ERROR_BUSY.\n");
  kmd_.CloseDevice();

  EXPECT_EQ(kmd_.KmdCloseAdapter(kAdapter), 0);
  EXPECT_EQ(output_.Lines().back(), "KmdCloseAdapter - gdi32.dll not loaded!\n");
  EXPECT_EQ(kmd_.KmdOpenAdapter(0), 0u);
  EXPECT_EQ(output_.Lines().back(), "KmdOpenAdapter - hdc is NULL!\n");
  EXPECT_EQ(kmd_.KmdOpenAdapter(0x99), kAdapter);
  EXPECT_EQ(kmd_.KmdCloseAdapter(kAdapter), 1);
  // Escapes after the thunks are gone fail as "not supported" would.
  EXPECT_EQ(kmd_.KmdConnect(kAdapter, 1), 0);
}

TEST(KmdStatusNames, NamedAndNumbered) {
  EXPECT_EQ(KmdStatusName(0), "0");
  EXPECT_EQ(KmdStatusName(5), "ERROR_ACCESS_DENIED");
  EXPECT_EQ(KmdStatusName(1610), "ERROR_BAD_CONFIGURATION");
  EXPECT_EQ(KmdStatusName(2), "2");
}

}  // namespace
}  // namespace vexmark::test
