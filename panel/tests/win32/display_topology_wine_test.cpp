// The display topology against Wine's own display configuration and display settings, with
// the real adapters. Each run prints what Wine answered (counts, results, devices) so that it
// can be compared between Wine versions. The runner's private Xvfb takes any mode change.
//
// Suite Win7Path runs under Wine's default version (6.1 workstation); suite OtherOsPath runs
// with the program's Wine version set to Windows 10 (display_topology_wine.sh sets it).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "../host/debug_channel_recorder.h"
#include "panel/core/display_topology.h"
#include "panel/core/field_text.h"
#include "panel/core/windows_version.h"
#include "panel/win32/win32_display_config_library.h"
#include "panel/win32/win32_display_settings.h"
#include "panel/win32/win32_display_topology.h"
#include "panel/win32/win32_system_metrics.h"
#include "platform/strings.h"
#include "platform/win32/win32_os_version.h"

namespace panel {
namespace {

// The real display configuration, with every answer printed.
class ReportingDisplayConfig : public win32::Win32DisplayConfigLibrary {
 public:
  int32_t GetDisplayConfigBufferSizes(uint32_t flags, uint32_t& path_count,
                                      uint32_t& mode_count) override {
    const int32_t result = win32::Win32DisplayConfigLibrary::GetDisplayConfigBufferSizes(
        flags, path_count, mode_count);
    std::printf("[ wine ] GetDisplayConfigBufferSizes(0x%X) = %d: paths %u, modes %u\n", flags,
                result, path_count, mode_count);
    return result;
  }
  int32_t QueryDisplayConfig(uint32_t flags, uint32_t& path_count, DisplayConfigPathInfo* paths,
                             uint32_t& mode_count, DisplayConfigModeInfo* modes) override {
    const int32_t result = win32::Win32DisplayConfigLibrary::QueryDisplayConfig(
        flags, path_count, paths, mode_count, modes);
    std::printf("[ wine ] QueryDisplayConfig(0x%X) = %d: paths %u, modes %u\n", flags, result,
                path_count, mode_count);
    return result;
  }
  int32_t SetDisplayConfig(uint32_t path_count, DisplayConfigPathInfo* paths, uint32_t mode_count,
                           DisplayConfigModeInfo* modes, uint32_t flags) override {
    const int32_t result = win32::Win32DisplayConfigLibrary::SetDisplayConfig(
        path_count, paths, mode_count, modes, flags);
    std::printf("[ wine ] SetDisplayConfig(0, 0, 0x%X) = %d\n", flags, result);
    return result;
  }
};

// The real display devices and settings, with every answer printed.
class ReportingDisplaySettings : public win32::Win32DisplaySettings {
 public:
  bool EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t flags) override {
    const bool found = win32::Win32DisplaySettings::EnumDevice(index, device, flags);
    std::printf("[ wine ] EnumDisplayDevicesW(%u) = %d", index, found);
    if (found) {
      std::printf(": \"%s\" \"%s\" state 0x%X",
                  platform::Utf16ToUtf8(FieldText(device.device_name)).c_str(),
                  platform::Utf16ToUtf8(FieldText(device.device_string)).c_str(),
                  device.state_flags);
    }
    std::printf("\n");
    return found;
  }
  bool EnumSettings(const std::u16string& device_name, uint32_t mode_number, DevModeW& mode,
                    uint32_t flags) override {
    const bool found =
        win32::Win32DisplaySettings::EnumSettings(device_name, mode_number, mode, flags);
    std::printf("[ wine ] EnumDisplaySettingsExW(\"%s\", 0x%X, 0x%X) = %d: (%d,%d) %ux%u\n",
                platform::Utf16ToUtf8(device_name).c_str(), mode_number, flags, found,
                mode.position_x, mode.position_y, mode.pels_width, mode.pels_height);
    if (found) saved_primary = mode;
    return found;
  }
  int32_t ChangeSettings(const std::optional<std::u16string>& device_name, DevModeW* mode,
                         uint32_t flags) override {
    const int32_t result = win32::Win32DisplaySettings::ChangeSettings(device_name, mode, flags);
    std::string shown = "NULL";
    if (device_name) {
      shown = '"';
      shown += platform::Utf16ToUtf8(*device_name);
      shown += '"';
    }
    std::printf("[ wine ] ChangeDisplaySettingsExW(%s, 0x%X) = %d\n", shown.c_str(), flags, result);
    results.push_back(result);
    return result;
  }

  DevModeW saved_primary;
  std::vector<int32_t> results;
};

struct RealSystem {
  int Apply(uint32_t topology) { return ApplyTopology(ports, topology); }
  int32_t VersionCode() {
    if (const auto record = os_version.QueryExtended()) {
      std::printf("[ wine ] version %u.%u build %u, platform %u, product type %u\n", record->major,
                  record->minor, record->build, record->platform_id, record->product_type);
    }
    test::DebugChannelRecorder quiet;
    int32_t code = kWinVerUnknown;
    EXPECT_TRUE(DetectWindowsVersion(os_version, metrics, quiet, code));
    return code;
  }

  platform::win32::Win32OsVersion os_version;
  win32::Win32SystemMetrics metrics;
  ReportingDisplayConfig display_config;
  ReportingDisplaySettings display_settings;
  test::DebugChannelRecorder debug;
  TopologyPorts ports{os_version, metrics, display_config, display_settings, debug};
};

void PrintLines(const test::DebugChannelRecorder& debug) {
  for (const test::DebugLine& line : debug.lines) {
    std::string shown;
    for (const char c : line.text) {
      if (c == '\r') {
        shown += "\\r";
      } else if (c == '\n') {
        shown += "\\n";
      } else {
        shown += c;
      }
    }
    std::printf("[ line ] %s %s\n", line.wide ? "W" : "A", shown.c_str());
  }
}

// The texts of the path and mode dumps, each as a pattern of its one line.
const std::vector<std::regex>& DumpLinePatterns() {
  static const std::vector<std::regex> patterns = [] {
    const char* texts[] = {
        R"(--------------------PATH-----------------------\r\n)",
        R"(state:[0-9A-F]{8}\r\n)",
        R"(source:\r\nadapterID_H:[0-9A-F]{8} L:[0-9A-F]{8}\r\nID:[0-9A-F]{8}\r\n)"
        R"(ModeIndex:[0-9A-F]{8}\r\nFlag:[0-9A-F]{8})",
        R"(target:\r\nadapterId H: [0-9A-F]{8} L:[0-9A-F]{8} ID:[0-9A-F]{8} Index:[0-9A-F]{8})",
        R"((outputTechnology: )+DISPLAYCONFIG_OUTPUT_TECHNOLOGY_[A-Z0-9_]+\r\n)",
        R"(refreshRate--Numerator:[0-9A-F ]{8}[0-9A-F]* Denominator:[0-9A-F]{8})",
        R"(rotation: DISPLAYCONFIG_ROTATION_[A-Z0-9_]+\r\n)",
        R"(scaling: DISPLAYCONFIG_SCALING_[A-Z_]+\r\n)",
        R"(scanLineOrdering: (DISPLAYCONFIG_SCANLINE_ORDERING_[A-Z_0-9]+)?\r\n)",
        R"(state:[0-9A-F]{8}  valiable:[0-9A-F]{8})",
        R"(-----------------------MODE------------------------\r\n)",
        R"(adpterID H:[0-9A-F]{8} L:[0-9A-F]{8} ID:[0-9A-F]{8})",
        R"(infotype DISPLAYCONFIG_MODE_INFO_TYPE_(SOURCE|TARGET|FORCE_UINT32)\r\n)",
        R"(source pixelFormat: DISPLAYCONFIG_PIXELFORMAT_[A-Z0-9_]+\r\n)",
        R"(source pos\(-?\d+,-?\d+\) Width:-?\d+ Height:-?\d+\r\n)",
        R"(target activeSize\(CX=-?\d+,cy=-?\d+\)\r\n)",
        R"(target totalsize\(cx=-?\d+,cy=-?\d+\))",
        R"(target pixelRate:[0-9A-F]{16} videoStander:[0-9A-F]{8}\r\n)",
        R"(target Hfreq Numerator:[0-9A-F]{8} Denominator:[0-9A-F]{8}\r\n)",
        R"(target Vfreq Numerator:[0-9A-F]{8} Denominator:[0-9A-F]{8}\r\n)",
    };
    std::vector<std::regex> compiled;
    for (const char* text : texts) compiled.emplace_back(text);
    return compiled;
  }();
  return patterns;
}

bool IsDumpLine(const std::string& text) {
  for (const std::regex& pattern : DumpLinePatterns()) {
    if (std::regex_match(text, pattern)) return true;
  }
  return false;
}

std::string ScreenSourceLine() {
  return "source pos(0,0) Width:" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) +
         " Height:" + std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "\r\n";
}

TEST(Win7Path, ExpDumpsWinesConfigurationAndAppliesIt) {
  RealSystem system;
  ASSERT_EQ(system.VersionCode(), kWinVerWin7) << "this suite needs Wine's default version";
  EXPECT_EQ(system.Apply(4), 1);
  PrintLines(system.debug);
  const std::vector<std::string> texts = system.debug.Texts();
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(texts[0], "WIN_VER_WIN7");
  EXPECT_EQ(texts[1], "Win7");
  EXPECT_EQ(texts[2], "Load OK");
  const auto get_ok = std::find(texts.begin(), texts.end(), "Get OK");
  ASSERT_NE(get_ok, texts.end());
  for (auto line = texts.begin() + 3; line != get_ok; ++line) {
    EXPECT_TRUE(IsDumpLine(*line)) << *line;
  }
  EXPECT_GE(
      std::count(texts.begin(), get_ok, "--------------------PATH-----------------------\r\n"), 1);
  // The source mode of the desktop says what the screen is.
  EXPECT_NE(std::find(texts.begin(), get_ok, ScreenSourceLine()), get_ok) << ScreenSourceLine();
  ASSERT_EQ(get_ok + 2, texts.end());
  const std::string result = texts.back();
  const char* names[] = {"ERRO_SUCESS",
                         "ERROR_ACCESS_DENIED",
                         "ERROR_GEN_FAILURE",
                         "ERROR_NOT_SUPPORTED",
                         "ERROR_INVALID_PARAMETER",
                         "ERROR_INSUFFICIENT_BUFFER",
                         "unkonw"};
  EXPECT_NE(std::find(std::begin(names), std::end(names), result), std::end(names));
  // The technology line is the one 8-bit line of a dump.
  for (const test::DebugLine& line : system.debug.lines) {
    if (line.text.rfind("outputTechnology", 0) == 0) {
      EXPECT_FALSE(line.wide);
    }
  }
}

TEST(Win7Path, CopyAndOnlyReachSetDisplayConfigAndTheScreenStays) {
  for (const uint32_t topology : {2u, 1u}) {
    RealSystem system;
    ASSERT_EQ(system.VersionCode(), kWinVerWin7);
    EXPECT_EQ(system.Apply(topology), 1);
    EXPECT_EQ(system.debug.Texts()[system.debug.lines.size() - 2], "Get OK");
  }
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
}

// Its lines go to the debugger; display_topology_wine.sh finds them in the monitor's log.
TEST(Win7Path, TheProgramsEntryRunsAPath) { EXPECT_EQ(win32::ApplyTopologyOnThisSystem(4), 1); }

std::string DeviceLine(const char* label, const std::string& name, int x, int y, uint32_t width,
                       uint32_t height) {
  return std::string(label) + name + " (" + std::to_string(x) + "," + std::to_string(y) + "," +
         std::to_string(width) + "," + std::to_string(height) + ")\r\n";
}

TEST(OtherOsPath, EachTopologyChangesWinesDisplaySettings) {
  for (const uint32_t topology : {4u, 2u, 1u}) {
    RealSystem system;
    ASSERT_NE(system.VersionCode(), kWinVerWin7) << "this suite needs another Wine version";
    DisplayDeviceW first;
    first.cb = sizeof first;
    ASSERT_TRUE(system.display_settings.win32::Win32DisplaySettings::EnumDevice(0, first, 0));
    EXPECT_EQ(system.Apply(topology), 1);
    PrintLines(system.debug);
    const std::vector<std::string> texts = system.debug.Texts();
    const auto other = std::find(texts.begin(), texts.end(), "Other OS");
    ASSERT_NE(other, texts.end());
    // At most the version's name comes before.
    EXPECT_LE(other - texts.begin(), 1);
    ASSERT_EQ(texts.end() - other, 4);
    EXPECT_EQ(other[1], platform::Utf16ToUtf8(FieldText(first.device_string)));
    const DevModeW& saved = system.display_settings.saved_primary;
    EXPECT_EQ(other[2], DeviceLine("Pri: ", platform::Utf16ToUtf8(FieldText(first.device_name)), 0,
                                   0, saved.pels_width, saved.pels_height));
    const int x = topology == 4 ? static_cast<int>(saved.pels_width) : 0;
    // "only" detaches the secondary: no size.
    const std::string size =
        topology == 1 ? "0,0"
                      : std::to_string(saved.pels_width) + "," + std::to_string(saved.pels_height);
    EXPECT_EQ(other[3].substr(0, 5), "Add: ");
    EXPECT_NE(other[3].find(" (" + std::to_string(x) + ",0," + size + ")\r\n"), std::string::npos)
        << other[3];
    EXPECT_EQ(system.display_settings.results.size(), 3u);
  }
  // The screen is still there with a size.
  EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
  EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
}

// "only" last, so the saved position of the primary ends at (0, 0). Its lines go to the
// debugger; display_topology_wine.sh finds them in the monitor's log.
TEST(OtherOsPath, TheProgramsEntryRunsAPath) { EXPECT_EQ(win32::ApplyTopologyOnThisSystem(1), 1); }

}  // namespace
}  // namespace panel
