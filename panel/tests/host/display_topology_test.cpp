#include "panel/core/display_topology.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "debug_channel_recorder.h"
#include "panel/core/display_config_topology.h"
#include "panel/core/display_settings_topology.h"
#include "panel/sim/sim_display_config.h"
#include "panel/sim/sim_display_settings.h"
#include "panel/sim/sim_system_metrics.h"
#include "platform/sim/sim_os_version.h"

namespace panel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr uint32_t kPrimaryAttached = 0x1 | kDisplayDevicePrimaryDevice;

struct Topology {
  explicit Topology(platform::OsVersionRecord version) : os_version(version) {}

  int Apply(uint32_t topology) { return ApplyTopology(ports, topology); }

  platform::sim::SimOsVersion os_version;
  sim::SimSystemMetrics metrics;
  sim::SimDisplayConfigLibrary display_config;
  sim::SimDisplaySettings display_settings;
  test::DebugChannelRecorder debug;
  TopologyPorts ports{os_version, metrics, display_config, display_settings, debug};
};

DisplayConfigPathInfo ActivePath() {
  DisplayConfigPathInfo path;
  path.flags = 1;
  path.target_info.output_technology = 5;
  return path;
}

DisplayConfigModeInfo ModeOfType(uint32_t type) {
  DisplayConfigModeInfo mode;
  mode.info_type = type;
  return mode;
}

// On Windows 7: one active path with its source and target modes.
struct Windows7Topology : Topology {
  Windows7Topology() : Topology(platform::sim::Windows7()) {
    display_config.paths = {ActivePath()};
    display_config.modes = {ModeOfType(1), ModeOfType(2)};
  }
};

size_t CountOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<size_t>(std::count(texts.begin(), texts.end(), text));
}

TEST(TopologyOnWindows7, ExpDumpsTheConfigurationThenAppliesFlags0x84) {
  Windows7Topology system;
  EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  EXPECT_THAT(system.display_config.calls,
              ElementsAre("Load user32.dll", "LookUp SetDisplayConfig",
                          "LookUp GetDisplayConfigBufferSizes", "LookUp QueryDisplayConfig",
                          "GetDisplayConfigBufferSizes flags=0x1",
                          "QueryDisplayConfig flags=0x1 paths=1 modes=2",
                          "SetDisplayConfig paths=0 modes=0 flags=0x84", "Unload"));
  const std::vector<std::string> texts = system.debug.Texts();
  // The zero rotation, scaling and pixel format have no names: a path of 8 lines, modes of 10.
  ASSERT_EQ(texts.size(), 3u + 8u + 2 * 10u + 2u);
  EXPECT_EQ(texts[0], "WIN_VER_WIN7");
  EXPECT_EQ(texts[1], "Win7");
  EXPECT_EQ(texts[2], "Load OK");
  EXPECT_EQ(texts[3], "--------------------PATH-----------------------\r\n");
  EXPECT_EQ(texts[10], "state:00000000  valiable:00000000");
  EXPECT_EQ(texts[11], "-----------------------MODE------------------------\r\n");
  EXPECT_EQ(texts[12], "adpterID H:00000000 L:00000000 ID:00000000");
  EXPECT_EQ(texts[13], "infotype DISPLAYCONFIG_MODE_INFO_TYPE_SOURCE\r\n");
  EXPECT_EQ(texts[23], "infotype DISPLAYCONFIG_MODE_INFO_TYPE_TARGET\r\n");
  EXPECT_EQ(texts[texts.size() - 2], "Get OK");
  EXPECT_EQ(texts.back(), "ERRO_SUCESS");
  EXPECT_FALSE(system.display_config.IsLoaded());
  EXPECT_THAT(system.display_settings.changes, IsEmpty());
}

TEST(TopologyOnWindows7, PassesOnlyAndCopyOnAsTheirFlags) {
  const std::pair<uint32_t, const char*> calls[] = {
      {kTopologyInternal, "SetDisplayConfig paths=0 modes=0 flags=0x81"},
      {kTopologyClone, "SetDisplayConfig paths=0 modes=0 flags=0x82"}};
  for (const auto& [topology, call] : calls) {
    Windows7Topology system;
    system.Apply(topology);
    EXPECT_EQ(system.display_config.calls[6], call);
  }
}

TEST(TopologyOnWindows7, WritesTheResultsName) {
  const std::pair<int32_t, const char*> names[] = {
      {0, "ERRO_SUCESS"}, {87, "ERROR_INVALID_PARAMETER"}, {1, "unkonw"}, {-1, "unkonw"}};
  for (const auto& [result, name] : names) {
    Windows7Topology system;
    system.display_config.set_result = result;
    EXPECT_EQ(system.Apply(kTopologyExtend), 1);
    EXPECT_EQ(system.debug.Texts().back(), name) << result;
  }
}

TEST(TopologyOnWindows7, AMissingFunctionUnloadsUser32AndChangesNothing) {
  for (const char* missing :
       {"SetDisplayConfig", "GetDisplayConfigBufferSizes", "QueryDisplayConfig"}) {
    Windows7Topology system;
    system.display_config.missing_functions = {missing};
    EXPECT_EQ(ApplyTopologyByDisplayConfig(system.display_config, system.debug, 4), 0);
    EXPECT_EQ(system.display_config.calls.back(), "Unload") << missing;
    EXPECT_FALSE(system.display_config.IsLoaded());
    EXPECT_THAT(system.debug.Texts(), ElementsAre("Load OK"));
    // ApplyTopology itself still reports that a path ran.
    system.debug.lines.clear();
    EXPECT_EQ(system.Apply(4), 1);
    EXPECT_THAT(system.debug.Texts(), ElementsAre("WIN_VER_WIN7", "Win7", "Load OK"));
  }
}

TEST(TopologyOnWindows7, User32ThatCannotBeLoadedChangesNothing) {
  Windows7Topology system;
  system.display_config.library_loads = false;
  EXPECT_EQ(ApplyTopologyByDisplayConfig(system.display_config, system.debug, 4), 0);
  EXPECT_THAT(system.display_config.calls, ElementsAre("Load user32.dll"));
  EXPECT_THAT(system.debug.lines, IsEmpty());
}

TEST(TopologyOnWindows7, BufferSizeErrorIsWrittenAndThePathGoesOnWithNothingToDump) {
  Windows7Topology system;
  system.display_config.buffer_sizes_error = 87;
  EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  // No counts: the query is given empty arrays and the system answers "too small".
  EXPECT_THAT(system.debug.Texts(),
              ElementsAre("WIN_VER_WIN7", "Win7", "Load OK", "GetDisplayConfigBufferSizes error",
                          " QueryDisplayConfig erro", "Get OK", "ERRO_SUCESS"));
  EXPECT_EQ(system.display_config.calls[5], "QueryDisplayConfig flags=0x1 paths=0 modes=0");
  EXPECT_EQ(system.display_config.calls[6], "SetDisplayConfig paths=0 modes=0 flags=0x84");
}

TEST(TopologyOnWindows7, QueryErrorIsWrittenAndNoRecordIsDumped) {
  Windows7Topology system;
  system.display_config.query_error = 31;
  system.display_config.set_result = 5;
  EXPECT_EQ(system.Apply(kTopologyClone), 1);
  EXPECT_THAT(system.debug.Texts(),
              ElementsAre("WIN_VER_WIN7", "Win7", "Load OK", " QueryDisplayConfig erro", "Get OK",
                          "ERROR_ACCESS_DENIED"));
}

TEST(TopologyOnWindows7, DumpsEveryReturnedPathThenEveryMode) {
  Windows7Topology system;
  system.display_config.paths = {ActivePath(), ActivePath(), ActivePath()};
  system.display_config.modes = {ModeOfType(2), ModeOfType(1), ModeOfType(2), ModeOfType(1)};
  system.Apply(kTopologyExtend);
  const std::vector<std::string> texts = system.debug.Texts();
  EXPECT_EQ(CountOf(texts, "--------------------PATH-----------------------\r\n"), 3u);
  EXPECT_EQ(CountOf(texts, "-----------------------MODE------------------------\r\n"), 4u);
  const auto last_path = std::find(texts.rbegin(), texts.rend(),
                                   "--------------------PATH-----------------------\r\n");
  const auto first_mode = std::find(texts.begin(), texts.end(),
                                    "-----------------------MODE------------------------\r\n");
  EXPECT_LT(texts.rend() - last_path - 1, first_mode - texts.begin());
}

// Other versions: two display devices, the primary with 1920x1080 saved at (100, 50).
struct OtherOsTopology : Topology {
  explicit OtherOsTopology(platform::OsVersionRecord version = platform::sim::Windows8())
      : Topology(version) {
    display_settings.devices = {
        {u"\\\\.\\DISPLAY1",
         u"Standard VGA Graphics Adapter",
         kPrimaryAttached,
         sim::SavedMode(100, 50, 1920, 1080),
         std::nullopt,
         {}},
        {u"\\\\.\\DISPLAY2", u"Standard VGA Graphics Adapter", 0, std::nullopt, std::nullopt, {}},
    };
  }
  const sim::SettingsChange& Change(size_t i) const { return display_settings.changes.at(i); }
};

TEST(TopologyOnOtherVersions, ExpPutsTheSecondaryBesideThePrimaryAtItsSize) {
  OtherOsTopology system;
  EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  EXPECT_THAT(system.debug.Texts(), ElementsAre("Other OS", "Standard VGA Graphics Adapter",
                                                "Pri: \\\\.\\DISPLAY1 (0,0,1920,1080)\r\n",
                                                "Add: \\\\.\\DISPLAY2 (1920,0,1920,1080)\r\n"));
  ASSERT_EQ(system.display_settings.changes.size(), 3u);
  const sim::SettingsChange& primary = system.Change(0);
  EXPECT_EQ(primary.device_name, u"\\\\.\\DISPLAY1");
  EXPECT_EQ(primary.flags, 0x10000011u);
  EXPECT_EQ(primary.mode->fields, 0x180020u);
  EXPECT_EQ(primary.mode->position_x, 0);
  EXPECT_EQ(primary.mode->position_y, 0);
  EXPECT_EQ(primary.mode->pels_width, 1920u);
  // The rest of the primary's saved mode goes along.
  EXPECT_EQ(primary.mode->bits_per_pel, 32u);
  const sim::SettingsChange& secondary = system.Change(1);
  EXPECT_EQ(secondary.device_name, u"\\\\.\\DISPLAY2");
  EXPECT_EQ(secondary.flags, 0x10000001u);
  EXPECT_EQ(secondary.mode->size, 220u);
  EXPECT_EQ(secondary.mode->fields, 0x180020u);
  EXPECT_EQ(secondary.mode->position_x, 1920);
  EXPECT_EQ(secondary.mode->pels_height, 1080u);
  const sim::SettingsChange& apply = system.Change(2);
  EXPECT_EQ(apply.device_name, std::nullopt);
  EXPECT_EQ(apply.mode, std::nullopt);
  EXPECT_EQ(apply.flags, 0u);
  ASSERT_EQ(system.display_settings.settings_reads.size(), 1u);
  EXPECT_EQ(system.display_settings.settings_reads[0].mode_number, 0xFFFFFFFEu);
  EXPECT_EQ(system.display_settings.settings_reads[0].flags, 2u);
}

TEST(TopologyOnOtherVersions, CopyPutsTheSecondaryAtTheOriginAtThePrimarySize) {
  OtherOsTopology system;
  EXPECT_EQ(system.Apply(kTopologyClone), 1);
  EXPECT_EQ(system.debug.Texts()[3], "Add: \\\\.\\DISPLAY2 (0,0,1920,1080)\r\n");
  EXPECT_EQ(system.Change(1).mode->position_x, 0);
  EXPECT_EQ(system.Change(1).mode->pels_width, 1920u);
}

TEST(TopologyOnOtherVersions, MainOnlyAndTopology8DetachTheSecondary) {
  for (const uint32_t topology : {kTopologyInternal, kTopologyExternal}) {
    OtherOsTopology system;
    EXPECT_EQ(system.Apply(topology), 1);
    EXPECT_EQ(system.debug.Texts()[3], "Add: \\\\.\\DISPLAY2 (0,0,0,0)\r\n");
    EXPECT_EQ(system.Change(1).mode->pels_width, 0u);
    EXPECT_EQ(system.Change(1).mode->pels_height, 0u);
  }
}

TEST(TopologyOnOtherVersions, VersionsOutsideTheTableTakeThisPathToo) {
  OtherOsTopology windows8;
  windows8.Apply(kTopologyExtend);
  EXPECT_EQ(windows8.debug.Texts()[0], "Other OS");
  OtherOsTopology xp(platform::sim::WindowsXp());
  xp.Apply(kTopologyExtend);
  EXPECT_EQ(xp.debug.Texts()[0], "WIN_VER_XP");
  EXPECT_EQ(xp.debug.Texts()[1], "Other OS");
  EXPECT_EQ(xp.display_settings.changes.size(), 3u);
  EXPECT_THAT(xp.display_config.calls, IsEmpty());
}

TEST(TopologyOnOtherVersions, AnAtiAdapterChangesNothingWhateverTheCase) {
  for (const char16_t* description : {u"ATI Radeon HD 5450", u"Radeon (Ati)", u"RADIATION"}) {
    OtherOsTopology system;
    system.display_settings.devices[0].description = description;
    EXPECT_EQ(ApplyTopologyByDisplaySettings(system.display_settings, system.debug, 4), 0);
    EXPECT_THAT(system.display_settings.changes, IsEmpty());
    EXPECT_THAT(system.display_settings.settings_reads, IsEmpty());
    // ApplyTopology still reports that a path ran.
    EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  }
}

TEST(TopologyOnOtherVersions, AnNvidiaAdapterOnTheSecondDeviceIsNotChecked) {
  OtherOsTopology system;
  system.display_settings.devices[0].description = u"NVIDIA GeForce GT 710";
  system.display_settings.devices[1].description = u"ATI Radeon";
  EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  EXPECT_EQ(system.display_settings.changes.size(), 3u);
  EXPECT_EQ(CountOf(system.debug.Texts(), "ATI Radeon"), 0u);
}

TEST(TopologyOnOtherVersions, ASingleDeviceLeavesTheSecondaryNameEmptyAndStillChangesIt) {
  OtherOsTopology system;
  system.display_settings.devices.pop_back();
  EXPECT_EQ(system.Apply(kTopologyExtend), 1);
  EXPECT_EQ(system.debug.Texts()[3], "Add:  (1920,0,1920,1080)\r\n");
  ASSERT_EQ(system.display_settings.changes.size(), 3u);
  EXPECT_EQ(system.Change(1).device_name, u"");
  EXPECT_EQ(system.Change(1).flags, 0x10000001u);
}

TEST(TopologyOnOtherVersions, OnlyAStateFlagInBits8To15KeepsADeviceFromBeingTheSecondary) {
  for (const uint32_t flags : {0x1u, 0x8u, 0x20u, 0x80u, 0x10000u, 0x100u, 0x8000u, 0x8001u}) {
    OtherOsTopology system;
    system.display_settings.devices[1].state_flags = flags;
    system.Apply(kTopologyExtend);
    const bool secondary = (flags & 0xFF00) == 0;
    EXPECT_EQ(system.Change(1).device_name, secondary ? u"\\\\.\\DISPLAY2" : u"") << flags;
  }
}

TEST(TopologyOnOtherVersions, ThePrimaryMayBeTheSecondDevice) {
  OtherOsTopology system;
  std::swap(system.display_settings.devices[0], system.display_settings.devices[1]);
  system.Apply(kTopologyExtend);
  EXPECT_EQ(system.debug.Texts()[2], "Pri: \\\\.\\DISPLAY1 (0,0,1920,1080)\r\n");
  EXPECT_EQ(system.debug.Texts()[3], "Add: \\\\.\\DISPLAY2 (1920,0,1920,1080)\r\n");
}

TEST(TopologyOnOtherVersions, NoFirstDeviceOrNoSavedPrimarySettingsChangesNothing) {
  OtherOsTopology no_devices;
  no_devices.display_settings.devices.clear();
  EXPECT_EQ(ApplyTopologyByDisplaySettings(no_devices.display_settings, no_devices.debug, 4), 0);
  EXPECT_THAT(no_devices.display_settings.changes, IsEmpty());
  // The (empty) description is still checked before the failed answer is looked at.
  EXPECT_THAT(no_devices.debug.Texts(), ElementsAre(""));

  OtherOsTopology no_saved;
  no_saved.display_settings.devices[0].registry_settings = std::nullopt;
  EXPECT_EQ(ApplyTopologyByDisplaySettings(no_saved.display_settings, no_saved.debug, 4), 0);
  EXPECT_THAT(no_saved.display_settings.changes, IsEmpty());
}

TEST(TopologyOnOtherVersions, ANameThatFillsItsFieldIsReadNoFurther) {
  OtherOsTopology system;
  system.display_settings.devices[1].name = std::u16string(40, u'N');
  system.Apply(kTopologyExtend);
  EXPECT_EQ(system.Change(1).device_name, std::u16string(32, u'N'));
}

TEST(ApplyTopology, AnUnreadableVersionDoesNothing) {
  OtherOsTopology system;
  system.os_version.SetExtended(std::nullopt);
  EXPECT_EQ(system.Apply(kTopologyExtend), 0);
  EXPECT_THAT(system.debug.lines, IsEmpty());
  EXPECT_THAT(system.display_settings.changes, IsEmpty());
  EXPECT_THAT(system.display_config.calls, IsEmpty());
}

}  // namespace
}  // namespace panel
