// The whole program on the simulated system: start-up checks, command lines, run order,
// progress window and exit codes.
#include "drvsetup/core/setup_app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "drvsetup/core/filter_driver_removal.h"
#include "host/world.h"

namespace drvsetup {
namespace {

using platform::RootKey;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::World;

std::string Inf(std::string_view name) {
  return std::string(testing::kInfFolder) + std::string(name);
}

class SetupApp : public ::testing::Test {
 protected:
  void SetUp() override { world.InstallProduct(); }

  bool NothingRemoved() const {
    return world.devices.RemovedInstanceIds().empty() && world.files.deleted.empty() &&
           world.registry.HasKey(RootKey::kLocalMachine, kFilterServiceKey) &&
           world.difx.state->uninstalled.empty();
  }

  World world;
};

TEST_F(SetupApp, AudioOnlyWithProgressWindowAndNoCompletionBox) {
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 0);
  EXPECT_THAT(world.devices.RemovedInstanceIds(),
              ElementsAre("ROOT\\MEDIA\\0000", "ROOT\\MEDIA\\0001"));
  EXPECT_TRUE(world.DeviceStays("HDAUDIO\\FUNC_01\\4&2"));
  EXPECT_TRUE(world.DeviceStays("ROOT\\DISPLAY\\0000"));
  EXPECT_THAT(world.files.deleted, ElementsAre(Inf("oem7.inf"), Inf("oem7.pnf")));
  EXPECT_TRUE(world.registry.HasKey(RootKey::kLocalMachine, kFilterServiceKey));
  EXPECT_TRUE(world.difx.load_names.empty());
  EXPECT_THAT(world.message_boxes.shown, IsEmpty());

  ASSERT_EQ(world.progress_windows.created.size(), 1u);
  const ProgressWindowParams& params = world.progress_windows.created[0];
  EXPECT_EQ(params.title, "Removing driver...Wait please...");
  EXPECT_EQ(params.left, (1280 - 400) / 2);
  EXPECT_EQ(params.top, (1024 - 100) / 2);
  EXPECT_EQ(params.width, 190);
  EXPECT_EQ(params.height, 40);
  EXPECT_THAT(*world.progress_windows.calls, ElementsAre("created", "range 0 3", "step 1", "stepit",
                                                         "stepit", "stepit", "destroyed"));
}

TEST_F(SetupApp, ProgressWindowPositionUsesSignedHalving) {
  world.progress_windows.desktop = {0, 0, 301, 51};
  world.Run("SetupOv.exe -O 8");
  ASSERT_EQ(world.progress_windows.created.size(), 1u);
  EXPECT_EQ(world.progress_windows.created[0].left, -49);  // (301 - 400) / 2
  EXPECT_EQ(world.progress_windows.created[0].top, -24);   // (51 - 100) / 2
}

TEST_F(SetupApp, AudioThenFilterDriver) {
  EXPECT_EQ(world.Run("SetupOv.exe -O 24 -S"), 0);
  EXPECT_THAT(world.files.deleted,
              ElementsAre(Inf("oem7.inf"), Inf("oem7.pnf"), std::string(testing::kDriverFile)));
  EXPECT_FALSE(world.registry.HasKey(RootKey::kLocalMachine, kFilterServiceKey));
  EXPECT_FALSE(world.registry.GetValue(RootKey::kLocalMachine, kDisplayClassKey, "LowerFilters"));
  EXPECT_TRUE(world.DeviceStays("ROOT\\DISPLAY\\0001"));
}

TEST_F(SetupApp, LowerCaseOptionSelectsBothDisplayDevices) {
  EXPECT_EQ(world.Run("SetupOv.exe -o 3"), 0);
  EXPECT_THAT(world.devices.RemovedInstanceIds(),
              ElementsAre("ROOT\\DISPLAY\\0000", "ROOT\\DISPLAY\\0001"));
  EXPECT_TRUE(world.DeviceStays("PCI\\VEN_10DE\\3&1"));
  EXPECT_TRUE(world.DeviceStays("ROOT\\MEDIA\\0000"));
  EXPECT_THAT(world.files.deleted,
              ElementsAre(Inf("oem3.inf"), Inf("oem3.pnf"), Inf("oem4.inf"), Inf("oem4.pnf")));
  EXPECT_TRUE(world.progress_windows.created.empty());
}

TEST_F(SetupApp, DefaultMaskFromWindows7RunsEveryStepInOrder) {
  for (const char* line : {"SetupOv.exe -O x", "SetupOv.exe"}) {
    SCOPED_TRACE(line);
    World w;
    w.InstallProduct();
    EXPECT_EQ(w.Run(line), 0);
    EXPECT_THAT(w.files.deleted, ElementsAre(Inf("oem3.inf"), Inf("oem3.pnf"), Inf("oem4.inf"),
                                             Inf("oem4.pnf"), Inf("oem7.inf"), Inf("oem7.pnf"),
                                             std::string(testing::kDriverFile), Inf("oem9.pnf")));
    EXPECT_THAT(w.difx.state->uninstalled, ElementsAre(Inf("oem9.inf")));
    EXPECT_EQ(w.devices.RemovedInstanceIds().size(), 4u);
  }
}

TEST_F(SetupApp, ValueZeroSelectsTheDefault) {
  EXPECT_EQ(world.Run("SetupOv.exe -O 0 -S"), 0);
  EXPECT_FALSE(world.registry.HasKey(RootKey::kLocalMachine, kFilterServiceKey));
  EXPECT_EQ(world.devices.RemovedInstanceIds().size(), 4u);
}

TEST_F(SetupApp, DefaultMaskBeforeWindows7LeavesTheFilterDriver) {
  for (auto version : {platform::sim::WindowsXp(), platform::sim::WindowsVista()}) {
    World w;
    w.InstallProduct();
    w.os_version = platform::sim::SimOsVersion(version);
    EXPECT_EQ(w.Run("SetupOv.exe -S"), 0);
    EXPECT_TRUE(w.registry.HasKey(RootKey::kLocalMachine, kFilterServiceKey));
    EXPECT_TRUE(w.files.Exists(testing::kDriverFile));
    EXPECT_EQ(w.devices.RemovedInstanceIds().size(), 4u);
    EXPECT_THAT(w.difx.state->uninstalled, ElementsAre(Inf("oem9.inf")));
  }
}

TEST_F(SetupApp, BadOptionsShowTheUsageBoxAndRemoveNothing) {
  const std::string usage =
      " [Arguments]\nArguments:\n    -?                      Show this help.\n"
      "    -s                      Don't show complete dialog.";
  for (const char* line :
       {"SetupOv.exe -?", "SetupOv.exe -O8", "SetupOv.exe -O0", "SetupOv.exe -O 8 -S -x"}) {
    SCOPED_TRACE(line);
    World w;
    w.InstallProduct();
    EXPECT_EQ(w.Run(line), 2);
    ASSERT_EQ(w.message_boxes.shown.size(), 1u);
    EXPECT_EQ(w.message_boxes.shown[0].caption, "OvUinst");
    EXPECT_EQ(w.message_boxes.shown[0].text, usage);
    EXPECT_TRUE(w.message_boxes.shown[0].topmost);
    EXPECT_TRUE(w.devices.RemovedInstanceIds().empty());
    EXPECT_TRUE(w.files.deleted.empty());
  }
}

TEST_F(SetupApp, CompletionBoxWhenTheQuietFlagIsClearIsNeverReached) {
  EXPECT_EQ(world.Run("SetupOv.exe -O 1"), 0);
  EXPECT_THAT(world.message_boxes.shown, IsEmpty());
}

TEST_F(SetupApp, ThirtyTwoBitOnSixtyFourShowsItsMessageOnly) {
  world.os_version.SetWow64(true);
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 0);
  ASSERT_EQ(world.message_boxes.shown.size(), 1u);
  EXPECT_EQ(world.message_boxes.shown[0].caption, "OvUinst");
  EXPECT_EQ(world.message_boxes.shown[0].text, "Please execute x64 version uninstall program.");
  EXPECT_FALSE(world.message_boxes.shown[0].topmost);
  EXPECT_TRUE(NothingRemoved());
  EXPECT_TRUE(world.mutexes.HeldNames().empty());
  EXPECT_TRUE(world.files.Copies().empty());
}

TEST_F(SetupApp, PlatformBeforeNt5IsUnsupported) {
  for (auto version : {platform::sim::Windows98(),
                       platform::OsVersionRecord{4, 0, 1381, platform::kPlatformWin32Nt, 1}}) {
    World w;
    w.InstallProduct();
    w.os_version = platform::sim::SimOsVersion(version);
    EXPECT_EQ(w.Run("SetupOv.exe -O 8"), 0);
    ASSERT_EQ(w.message_boxes.shown.size(), 1u);
    EXPECT_EQ(w.message_boxes.shown[0].text, "Unsupported platform!");
    EXPECT_TRUE(w.message_boxes.shown[0].topmost);
    EXPECT_TRUE(w.devices.RemovedInstanceIds().empty());
  }
}

TEST_F(SetupApp, UnreadableOrUnknownPlatformEndsSilently) {
  world.os_version.SetExtended(std::nullopt);
  world.os_version.SetBasic(std::nullopt);
  EXPECT_EQ(world.Run("SetupOv.exe -O 8"), 0);
  world.os_version.SetBasic(platform::OsVersionRecord{6, 1, 7601, platform::kPlatformWin32s, 0});
  EXPECT_EQ(world.Run("SetupOv.exe -O 8"), 0);
  EXPECT_THAT(world.message_boxes.shown, IsEmpty());
  EXPECT_TRUE(NothingRemoved());
  // The basic record alone is enough.
  world.os_version.SetBasic(platform::sim::WindowsXp());
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 0);
  EXPECT_EQ(world.devices.RemovedInstanceIds().size(), 2u);
}

TEST_F(SetupApp, SecondInstanceEndsWithoutRemoving) {
  world.mutexes.HoldElsewhere("{A77C99CC-EFDF-4c38-891E-9F4701C1672C}");
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 0);
  EXPECT_TRUE(NothingRemoved());
  EXPECT_THAT(world.message_boxes.shown, IsEmpty());
  EXPECT_TRUE(world.sleeper.sleeps.empty());
}

TEST_F(SetupApp, MutexThatCannotBeCreatedGivesExitCode2) {
  world.mutexes.FailCreation(true);
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 2);
  EXPECT_TRUE(NothingRemoved());
}

TEST_F(SetupApp, StartUpCopiesDifxapiAndWaitsBeforeParsing) {
  EXPECT_EQ(world.Run(std::nullopt), 1);
  EXPECT_TRUE(NothingRemoved());
  ASSERT_EQ(world.files.Copies().size(), 1u);
  EXPECT_EQ(world.files.Copies()[0].from, "C:\\Program\\Difxapi.dll");
  EXPECT_EQ(world.files.Copies()[0].to_folder, "C:\\Windows\\system32");
  EXPECT_TRUE(world.files.Exists("C:\\Windows\\system32\\Difxapi.dll"));
  EXPECT_THAT(world.sleeper.sleeps, ElementsAre(1000u));
}

TEST_F(SetupApp, MissingDifxapiCopyIsIgnored) {
  World w;
  w.InstallProduct();
  w.files.SetModulePath("C:\\Elsewhere\\SetupOv.exe");
  EXPECT_EQ(w.Run("SetupOv.exe -O 4"), 0);
  ASSERT_EQ(w.files.Copies().size(), 1u);
  EXPECT_FALSE(w.files.Copies()[0].succeeded);
  EXPECT_THAT(w.difx.state->uninstalled, ElementsAre(Inf("oem9.inf")));
}

TEST_F(SetupApp, FailedProgressWindowDoesNotStopTheAudioStep) {
  world.progress_windows.fail = true;
  EXPECT_EQ(world.Run("SetupOv.exe -O 8 -S"), 0);
  EXPECT_EQ(world.devices.RemovedInstanceIds().size(), 2u);
  EXPECT_FALSE(world.InfExists("oem7.inf"));
}

}  // namespace
}  // namespace drvsetup
