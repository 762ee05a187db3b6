// The start-up sequence: its order, the single instance and the failure exits.
#include <gtest/gtest.h>

#include "panel/core/panel_startup.h"
#include "panel/core/service_check.h"
#include "panel/sim/receiver_simulation.h"
#include "panel/sim/sim_process_host.h"
#include "panel/sim/sim_wmi_service_query.h"
#include "platform/sim/sim_process.h"

namespace panel {
namespace {

class PanelStartupTest : public ::testing::Test {
 protected:
  PanelStartupTest() {
    for (const char* name : kRequiredServices) wmi.SetService(name, {"Running"});
  }
  int Run() {
    StartupPorts ports{mutex, running, process, wmi, launcher, library};
    return RunPanel(ports);
  }
  std::vector<std::string> Calls() { return log.Calls(); }

  sim::CallLog log;
  sim::SimInstanceMutex mutex{log};
  sim::SimRunningInstance running{log};
  sim::SimProcessStartup process{log};
  sim::SimWmiServiceQuery wmi;
  platform::sim::SimProcessLauncher launcher;
  sim::ReceiverSimulation library;
};

TEST_F(PanelStartupTest, StepsInOrder) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Calls(),
            (std::vector<std::string>{"OpenMutex Quandle.exe", "CreateMutex Quandle.exe",
                                      "LocateSkin \\skin\\ VivuVovo.zf", "CoInitialize",
                                      "WSAStartup 2.2", "SetProcessDPIAware", "CreateFrameWindow",
                                      "MessageLoop", "CoUninitialize"}));
  EXPECT_EQ(library.Calls(), std::vector<std::string>{"LibraryInit"});
  const FrameCreation& creation = process.LastCreation();
  EXPECT_EQ(std::u16string(creation.title), u"Quandle 1.0");
  EXPECT_EQ(creation.style, 0x10CB0000u);
  EXPECT_EQ(creation.ex_style, 0x00060000u);
  EXPECT_EQ(creation.width, 800);
  EXPECT_EQ(creation.height, 572);
  EXPECT_EQ(creation.icon_resource, 101);
}

TEST_F(PanelStartupTest, SecondInstanceBringsTheFirstForwardAndEnds) {
  mutex.SetHeldElsewhere(true);
  EXPECT_EQ(Run(), 0);
  // The pop-up is what comes forward, with this thread's input joined to the foreground's.
  EXPECT_EQ(Calls(), (std::vector<std::string>{
                         "OpenMutex Quandle.exe", "FindWindow VU365MainFrame Quandle 1.0",
                         "GetLastActivePopup 10", "BringWindowToTop 10", "AttachThreadInput 1 2 on",
                         "ShowWindow 11 SW_RESTORE", "SetWindowPos 11 HWND_TOPMOST",
                         "SetWindowPos 11 HWND_NOTOPMOST", "SetForegroundWindow 11",
                         "AttachThreadInput 1 2 off"}));
  EXPECT_TRUE(library.Calls().empty());

  // The mutex appearing between the open and the create, or a failed create, ends the same way.
  for (auto answer :
       {InstanceMutex::CreateResult::kAlreadyExisted, InstanceMutex::CreateResult::kFailed}) {
    log.Clear();
    mutex.SetHeldElsewhere(false);
    mutex.SetCreateAnswer(answer);
    running.SetWindowPresent(false);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Calls().back(), "FindWindow VU365MainFrame Quandle 1.0") << "no window, no more";
    EXPECT_EQ(Calls().size(), 3u);
  }
}

TEST_F(PanelStartupTest, MissingStarterEndsBeforeTheWindow) {
  wmi.SetService("upnphost", {"Stopped"});
  launcher.FailToStart("QuandleStarter.exe", platform::kErrorFileNotFound);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Calls().back(), "LocateSkin \\skin\\ VivuVovo.zf");
  EXPECT_TRUE(library.Calls().empty());
}

TEST_F(PanelStartupTest, ComFailureEndsAndLibraryFailureStillShowsTheWindow) {
  process.FailCoInitialize();
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Calls().back(), "CoInitialize");
  EXPECT_TRUE(library.Calls().empty());

  sim::CallLog second_log;
  sim::SimProcessStartup working{second_log};
  sim::SimInstanceMutex free_mutex{second_log};
  library.SetLibraryInitResult(5);
  StartupPorts ports{free_mutex, running, working, wmi, launcher, library};
  EXPECT_EQ(RunPanel(ports), 0);
  EXPECT_EQ(library.Calls(), (std::vector<std::string>{"LibraryInit", "LibraryDestroy"}));
  EXPECT_EQ(second_log.Calls().back(), "CoUninitialize");
  EXPECT_EQ(second_log.Calls()[second_log.Calls().size() - 3], "CreateFrameWindow");
}

TEST_F(PanelStartupTest, NoWindowMeansNoMessageLoop) {
  process.FailWindowCreation();
  EXPECT_EQ(Run(), 0);
  const auto calls = Calls();
  EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
            (std::vector<std::string>{"CreateFrameWindow", "CoUninitialize"}));
}

}  // namespace
}  // namespace panel
