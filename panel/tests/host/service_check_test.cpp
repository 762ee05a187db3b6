#include "panel/core/service_check.h"

#include <gtest/gtest.h>

#include "panel/sim/sim_wmi_service_query.h"
#include "platform/sim/sim_process.h"

namespace panel {
namespace {

class ServiceCheckTest : public ::testing::Test {
 protected:
  void AllRunning() {
    for (const char* name : kRequiredServices) wmi_.SetService(name, {"Running"});
  }
  bool Check() { return CheckServicesAtStartup(wmi_, launcher_, "C:\\Quandle\\"); }

  sim::SimWmiServiceQuery wmi_;
  platform::sim::SimProcessLauncher launcher_;
};

TEST_F(ServiceCheckTest, AllRunningStartsNothingAndAsksInOrder) {
  AllRunning();
  EXPECT_TRUE(Check());
  EXPECT_TRUE(launcher_.Started().empty());
  ASSERT_EQ(wmi_.Queries().size(), 3u);
  EXPECT_EQ(wmi_.Queries()[0], "SELECT * FROM Win32_Service where Name='SSDPSRV'");
  EXPECT_EQ(wmi_.Queries()[1], "SELECT * FROM Win32_Service where Name='upnphost'");
  EXPECT_EQ(wmi_.Queries()[2], "SELECT * FROM Win32_Service where Name='WMPNetworkSvc'");
}

TEST_F(ServiceCheckTest, OneStoppedServiceRunsTheStarterOnceHiddenAndWaits) {
  AllRunning();
  wmi_.SetService("WMPNetworkSvc", {"Stopped"});
  EXPECT_TRUE(Check());
  auto started = launcher_.Started();
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].file, "C:\\Quandle\\QuandleStarter.exe");
  EXPECT_EQ(started[0].parameters, "");
  EXPECT_EQ(started[0].verb, "");
  EXPECT_EQ(started[0].show, platform::kShowHidden);
  EXPECT_TRUE(started[0].keep_process);
  const auto& history = launcher_.History();
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[1].kind, platform::sim::ProcessEvent::Kind::kWaited);
  // Every service is asked once, also after the first stopped one.
  EXPECT_EQ(wmi_.Queries().size(), 3u);
}

TEST_F(ServiceCheckTest, WmiUnavailableCountsAsStoppedAndRunsTheStarter) {
  wmi_.SetUnavailable(true);
  EXPECT_TRUE(Check());
  EXPECT_EQ(launcher_.Started().size(), 1u);
}

TEST_F(ServiceCheckTest, MissingStarterEndsStartUp) {
  wmi_.SetService("SSDPSRV", {"Stopped"});
  launcher_.FailToStart("QuandleStarter.exe", 2);
  EXPECT_FALSE(Check());
}

TEST_F(ServiceCheckTest, RunningMustAppearWithItsExactCaseAnywhereInTheState) {
  wmi_.SetService("a", {"running"});
  wmi_.SetService("b", {"Not Running yet"});
  wmi_.SetService("c", {"Stopped", "", "Running"});
  wmi_.SetService("d", {});
  EXPECT_FALSE(IsServiceRunning(wmi_, "a"));
  EXPECT_TRUE(IsServiceRunning(wmi_, "b"));
  EXPECT_TRUE(IsServiceRunning(wmi_, "c"));
  EXPECT_FALSE(IsServiceRunning(wmi_, "d"));
}

}  // namespace
}  // namespace panel
