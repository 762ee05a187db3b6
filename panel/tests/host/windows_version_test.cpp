#include "panel/core/windows_version.h"

#include <gtest/gtest.h>

#include "debug_channel_recorder.h"
#include "panel/sim/sim_system_metrics.h"
#include "platform/sim/sim_os_version.h"

namespace panel {
namespace {

using platform::kPlatformWin32Nt;
using platform::kPlatformWin32Windows;
using platform::kProductDomainController;
using platform::kProductServer;
using platform::kProductWorkstation;

struct VersionRow {
  uint32_t major;
  uint32_t minor;
  uint32_t platform_id;
  uint8_t product_type;
  int32_t server_r2;  // what SM_SERVERR2 reports
  int32_t code;
  const char* name;  // nullptr: nothing written
};

constexpr VersionRow kRows[] = {
    {4, 0, kPlatformWin32Windows, 0, 0, kWinVer95, "WIN_VER_95"},
    {4, 10, kPlatformWin32Windows, 0, 0, kWinVer98, "WIN_VER_98"},
    {4, 90, kPlatformWin32Windows, 0, 0, kWinVerMe, "WIN_VER_ME"},
    {4, 0, kPlatformWin32Nt, 0, 0, kWinVerNt4, "WIN_VER_NT4"},
    {5, 0, kPlatformWin32Nt, kProductWorkstation, 0, kWinVer2k, "WIN_VER_2K"},
    {5, 1, kPlatformWin32Nt, kProductWorkstation, 0, kWinVerXp, "WIN_VER_XP"},
    {5, 2, kPlatformWin32Nt, kProductWorkstation, 1, kWinVerXp64, "WIN_VER_XP64"},
    {5, 2, kPlatformWin32Nt, kProductServer, 0, kWinVer2k3, "WIN_VER_2K3"},
    {5, 2, kPlatformWin32Nt, kProductDomainController, 1, kWinVer2k3R2, "WIN_VER_2K3_R2"},
    {6, 0, kPlatformWin32Nt, kProductWorkstation, 0, kWinVerVista, "WIN_VER_VISTA"},
    {6, 0, kPlatformWin32Nt, kProductServer, 0, kWinVer2k8, "WIN_VER_2K8"},
    {6, 1, kPlatformWin32Nt, kProductServer, 1, kWinVer2k8R2, "WIN_VER_2K8_R2"},
    {6, 1, kPlatformWin32Nt, kProductWorkstation, 1, kWinVerWin7, "WIN_VER_WIN7"},
    {6, 2, kPlatformWin32Nt, kProductWorkstation, 0, kWinVerUnknown, nullptr},
    {10, 0, kPlatformWin32Nt, kProductWorkstation, 0, kWinVerUnknown, nullptr},
    {4, 20, kPlatformWin32Windows, 0, 0, kWinVerUnknown, nullptr},
    {5, 3, kPlatformWin32Nt, kProductWorkstation, 0, kWinVerUnknown, nullptr},
};

TEST(DetectWindowsVersion, ClassifiesEveryRowOfTheTableAndWritesItsName) {
  for (const VersionRow& row : kRows) {
    SCOPED_TRACE(testing::Message() << row.major << "." << row.minor << " platform "
                                    << row.platform_id << " product " << int(row.product_type));
    platform::sim::SimOsVersion os_version(
        {row.major, row.minor, 1000, row.platform_id, row.product_type});
    sim::SimSystemMetrics metrics;
    metrics.values[kSmServerR2] = row.server_r2;
    test::DebugChannelRecorder debug;
    int32_t code = 99;
    ASSERT_TRUE(DetectWindowsVersion(os_version, metrics, debug, code));
    EXPECT_EQ(code, row.code);
    if (row.name != nullptr) {
      EXPECT_EQ(debug.Texts(), std::vector<std::string>{row.name});
    } else {
      EXPECT_TRUE(debug.lines.empty());
    }
  }
}

TEST(DetectWindowsVersion, AsksForTheServerR2MetricOnlyForServer2003) {
  platform::sim::SimOsVersion xp64({5, 2, 3790, kPlatformWin32Nt, kProductWorkstation});
  platform::sim::SimOsVersion server({5, 2, 3790, kPlatformWin32Nt, kProductServer});
  sim::SimSystemMetrics metrics;
  test::DebugChannelRecorder debug;
  int32_t code = 0;
  DetectWindowsVersion(xp64, metrics, debug, code);
  EXPECT_TRUE(metrics.asked.empty());
  DetectWindowsVersion(server, metrics, debug, code);
  EXPECT_EQ(metrics.asked, std::vector<int32_t>{89});
}

TEST(DetectWindowsVersion, FailsWithoutTheExtendedRecordEvenWhenTheBasicOneAnswers) {
  platform::sim::SimOsVersion os_version(platform::sim::Windows7());
  os_version.SetExtended(std::nullopt);
  sim::SimSystemMetrics metrics;
  test::DebugChannelRecorder debug;
  int32_t code = 12;
  EXPECT_FALSE(DetectWindowsVersion(os_version, metrics, debug, code));
  EXPECT_EQ(code, kWinVerUnknown);
  EXPECT_TRUE(debug.lines.empty());
}

}  // namespace
}  // namespace panel
