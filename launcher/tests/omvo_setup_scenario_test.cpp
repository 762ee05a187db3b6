// The whole launcher on the simulated platform, per Windows version and
// bitness.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "expected_command_lines.h"
#include "launcher/core/omvo_setup_app.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_os_version.h"
#include "platform/sim/sim_process.h"
#include "platform/sim/sim_registry.h"

namespace launcher {
namespace {

using expected::CommandLine;
using platform::RegistryView;
using platform::RootKey;
using platform::sim::ProcessEvent;

const std::string kMediaKey =
    "SOFTWARE\\Microsoft\\Windows Media Player NSS\\3.0\\DeviceShims\\"
    "Velquor Technologies, Inc.\\Kestrova\\1.0";
const std::string kWindows = "C:\\Windows";
const std::string kProduct = "C:\\Windows\\ZYN\\Skyrow.exe";
const std::string kSetup = "D:\\Setup";

class OmvoSetupScenario : public testing::Test {
 protected:
  OmvoSetupScenario() {
    files_.SetCurrentDirectory(kSetup);
    files_.AddFile(kSetup + "\\OmvoSetup.exe");
  }

  void OnWindows(platform::OsVersionRecord version, bool wow64) {
    os_ = platform::sim::SimOsVersion(version);
    os_.SetWow64(wow64);
    registry_.SetSeparate64BitView(wow64);
  }

  // Both builds of the tool, as the distribution ships them.
  void ShipTools() {
    files_.AddFile(kSetup + "\\drivers\\SetupOv.exe");
    files_.AddFile(kSetup + "\\drivers\\x64\\SetupOv64.exe");
  }

  int Run() {
    COmvoSetupApp app({os_, registry_, processes_, files_});
    return app.InitInstance();
  }

  // Every started program as "<file> <parameters>", with its working folder
  // checked.
  std::vector<CommandLine> StartedIn(const std::string& directory) const {
    std::vector<CommandLine> lines;
    for (const platform::ShellExecuteRequest& request : processes_.Started()) {
      if (request.directory == directory) lines.emplace_back(request.file, request.parameters);
    }
    return lines;
  }

  bool MediaValueWritten(RegistryView view) const {
    const auto value = registry_.GetValue(RootKey::kLocalMachine, kMediaKey, "RenderAll", view);
    return value && value->type == platform::ValueType::kDword &&
           value->data == std::vector<uint8_t>{1, 0, 0, 0};
  }
  bool MediaKeyExists(RegistryView view) const {
    return registry_.HasKey(RootKey::kLocalMachine, kMediaKey, view);
  }

  platform::sim::SimOsVersion os_;
  platform::sim::SimRegistry registry_;
  platform::sim::SimProcessLauncher processes_;
  platform::sim::SimFiles files_;
};

struct VersionCase {
  const char* name;
  platform::OsVersionRecord version;
  bool wow64;
  std::vector<CommandLine> (*commands)(const std::string& product);
  CommandLine tool;
  std::string tool_folder;
  bool media_value;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.name; }

class OmvoSetupVersionScenario : public OmvoSetupScenario,
                                 public testing::WithParamInterface<VersionCase> {};

TEST_P(OmvoSetupVersionScenario, RunsTheBranchThenTheToolAndWritesTheValueOnlyWhenDue) {
  const VersionCase& c = GetParam();
  OnWindows(c.version, c.wow64);
  ShipTools();
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(StartedIn(kWindows), c.commands(kProduct));
  EXPECT_THAT(StartedIn(c.tool_folder), testing::ElementsAre(c.tool));
  EXPECT_EQ(processes_.Started().size(), c.commands(kProduct).size() + 1);
  EXPECT_EQ(MediaValueWritten(RegistryView::k64Bit), c.media_value);
  // Never the redirected 32-bit view, and nothing at all when not due.
  EXPECT_FALSE(c.wow64 && MediaKeyExists(RegistryView::k32Bit));
  if (!c.media_value) {
    EXPECT_FALSE(MediaKeyExists(RegistryView::k64Bit));
  }
}

const std::string kTool32Folder = kSetup + "\\drivers";
const std::string kTool64Folder = kSetup + "\\drivers\\x64";

INSTANTIATE_TEST_SUITE_P(Versions, OmvoSetupVersionScenario,
                         testing::Values(VersionCase{"Windows7x64",
                                                     platform::sim::Windows7(),
                                                     true,
                                                     expected::Windows7Commands,
                                                     {"SetupOv64.exe", "-O 24 -S"},
                                                     kTool64Folder,
                                                     true},
                                         VersionCase{"Windows7x86",
                                                     platform::sim::Windows7(),
                                                     false,
                                                     expected::Windows7Commands,
                                                     {"SetupOv.exe", "-O 24 -S"},
                                                     kTool32Folder,
                                                     false},
                                         VersionCase{"VistaX64",
                                                     platform::sim::WindowsVista(),
                                                     true,
                                                     expected::VistaCommands,
                                                     {"SetupOv64.exe", "-O 24 -S"},
                                                     kTool64Folder,
                                                     true},
                                         VersionCase{"VistaX86",
                                                     platform::sim::WindowsVista(),
                                                     false,
                                                     expected::VistaCommands,
                                                     {"SetupOv.exe", "-O 24 -S"},
                                                     kTool32Folder,
                                                     false},
                                         VersionCase{"XpX86",
                                                     platform::sim::WindowsXp(),
                                                     false,
                                                     expected::XpCommands,
                                                     {"SetupOv.exe", "-O 8 -S"},
                                                     kTool32Folder,
                                                     false},
                                         VersionCase{"XpX64",
                                                     platform::sim::WindowsXp(),
                                                     true,
                                                     expected::XpCommands,
                                                     {"SetupOv64.exe", "-O 8 -S"},
                                                     kTool64Folder,
                                                     false},
                                         VersionCase{"Windows8x64",
                                                     platform::sim::Windows8(),
                                                     true,
                                                     expected::XpCommands,
                                                     {"SetupOv64.exe", "-O 24 -S"},
                                                     kTool64Folder,
                                                     true},
                                         VersionCase{"Windows98",
                                                     platform::sim::Windows98(),
                                                     false,
                                                     expected::XpCommands,
                                                     {"SetupOv.exe", "-O 8 -S"},
                                                     kTool32Folder,
                                                     false}),
                         [](const testing::TestParamInfo<VersionCase>& info) {
                           return info.param.name;
                         });

TEST_F(OmvoSetupScenario, EveryProgramIsOpenedHiddenAndWaitedForBeforeTheNext) {
  ShipTools();
  Run();
  const std::vector<ProcessEvent>& history = processes_.History();
  ASSERT_EQ(history.size(), 2 * 15u);
  for (size_t i = 0; i < history.size(); i += 2) {
    EXPECT_EQ(history[i].kind, ProcessEvent::Kind::kStarted);
    EXPECT_EQ(history[i + 1].kind, ProcessEvent::Kind::kWaited);
    EXPECT_EQ(history[i].request.verb, "open");
    EXPECT_EQ(history[i].request.show, platform::kShowHidden);
    EXPECT_TRUE(history[i].request.keep_process);
  }
}

TEST_F(OmvoSetupScenario, DeeperToolIsFoundPastWrongCaseNames) {
  files_.AddFile(kSetup + "\\setupov.exe");
  files_.AddFile(kSetup + "\\a\\SETUPOV.EXE");
  files_.AddFile(kSetup + "\\a\\b\\SetupOv.exe");
  Run();
  EXPECT_THAT(StartedIn(kSetup + "\\a\\b"),
              testing::ElementsAre(CommandLine{"SetupOv.exe", "-O 24 -S"}));
}

TEST_F(OmvoSetupScenario, WithoutTheToolOnlyTheFirewallCommandsRun) {
  files_.AddFile(kSetup + "\\tools\\setupov.exe");
  files_.AddFile(kSetup + "\\tools\\SetupOv64.exe");  // the other build: not this system's
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(StartedIn(kWindows), expected::Windows7Commands(kProduct));
  EXPECT_EQ(processes_.Started().size(), 14u);
}

TEST_F(OmvoSetupScenario, FailuresOfCommandsToolAndRegistryPassSilently) {
  OnWindows(platform::sim::Windows7(), true);
  ShipTools();
  registry_.InjectFailure(platform::sim::RegistryOperation::kCreate, RootKey::kLocalMachine,
                          kMediaKey, platform::kErrorAccessDenied, RegistryView::k64Bit);
  processes_.FailToStart("sc", platform::kErrorFileNotFound);
  processes_.Script("netsh", [](const platform::ShellExecuteRequest&) { return 1u; });
  processes_.Script("SetupOv64.exe", [](const platform::ShellExecuteRequest&) { return 5u; });
  EXPECT_EQ(Run(), 0);
  std::vector<CommandLine> netsh = expected::Windows7Commands(kProduct);
  std::erase_if(netsh, [](const CommandLine& line) { return line.first == "sc"; });
  EXPECT_EQ(StartedIn(kWindows), netsh);
  EXPECT_THAT(StartedIn(kTool64Folder),
              testing::ElementsAre(CommandLine{"SetupOv64.exe", "-O 24 -S"}));
  EXPECT_FALSE(MediaValueWritten(RegistryView::k64Bit));
}

TEST_F(OmvoSetupScenario, WithoutTheWindowsDirectoryNoSystemToolRunsButTheRemovalToolDoes) {
  ShipTools();
  files_.FailWindowsDirectory();
  EXPECT_EQ(Run(), 0);
  EXPECT_THAT(processes_.Started(), testing::SizeIs(1));
  EXPECT_THAT(StartedIn(kTool32Folder),
              testing::ElementsAre(CommandLine{"SetupOv.exe", "-O 24 -S"}));
}

TEST_F(OmvoSetupScenario, UnlistableFolderIsPassedOver) {
  files_.AddFile(kSetup + "\\locked\\SetupOv.exe");
  files_.AddFile(kSetup + "\\open\\SetupOv.exe");
  files_.FailListing(kSetup + "\\locked");
  Run();
  EXPECT_THAT(StartedIn(kSetup + "\\open"),
              testing::ElementsAre(CommandLine{"SetupOv.exe", "-O 24 -S"}));
  EXPECT_THAT(StartedIn(kSetup + "\\locked"), testing::IsEmpty());
}

}  // namespace
}  // namespace launcher
