// The service check against Wine's own WMI and service control manager: real services report
// "Running", missing ones lead to the starter, and QuandleStarter.exe starts services created
// with the test service program so that WMI then reports them running.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "panel/core/service_check.h"
#include "panel/win32/win32_wmi_service_query.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_process.h"
#include "ui/win32/win32_ui_host.h"

namespace panel {
namespace {

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

class ServiceCheckWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager_ = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ASSERT_NE(manager_, nullptr);
  }
  void TearDown() override {
    for (const char* name : kRequiredServices) {
      std::wstring wide(name, name + std::strlen(name));
      SC_HANDLE service = ::OpenServiceW(manager_, wide.c_str(), SERVICE_ALL_ACCESS);
      if (service == nullptr) continue;
      SERVICE_STATUS status{};
      ::ControlService(service, SERVICE_CONTROL_STOP, &status);
      ::DeleteService(service);
      ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager_);
  }
  void CreateTestServices() {
    std::wstring binary =
        platform::win32::ToWide(ui::GetInstancePath()) + L"panel_test_service.exe";
    for (const char* name : kRequiredServices) {
      std::wstring wide(name, name + std::strlen(name));
      SC_HANDLE service =
          ::CreateServiceW(manager_, wide.c_str(), wide.c_str(), SERVICE_ALL_ACCESS,
                           SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                           binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(service, nullptr) << name << " " << ::GetLastError();
      ::CloseServiceHandle(service);
    }
  }

  // Wine starts its services on demand, and on a loaded machine one may still be starting when
  // first asked: waits (at most 30 s) until the service control manager has it running.
  bool WaitUntilRunning(const wchar_t* name) {
    SC_HANDLE service = ::OpenServiceW(manager_, name, SERVICE_QUERY_STATUS | SERVICE_START);
    if (service == nullptr) return false;
    ::StartServiceW(service, 0, nullptr);  // fails harmlessly when it runs already
    SERVICE_STATUS status{};
    bool running = false;
    for (int tries = 0; tries < 120 && !running; ++tries) {
      running = ::QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
      if (!running) ::Sleep(250);
    }
    ::CloseServiceHandle(service);
    return running;
  }

  SC_HANDLE manager_ = nullptr;
  win32::Win32WmiServiceQuery wmi_;
  platform::win32::Win32ProcessLauncher launcher_;
};

TEST_F(ServiceCheckWineTest, WinesOwnServiceRunsAndAMissingOneDoesNot) {
  ASSERT_TRUE(WaitUntilRunning(L"RpcSs"));
  EXPECT_TRUE(IsServiceRunning(wmi_, "RpcSs"));
  EXPECT_FALSE(IsServiceRunning(wmi_, "SSDPSRV"));
  EXPECT_FALSE(IsServiceRunning(wmi_, "NoSuchServiceAnywhere"));
}

TEST_F(ServiceCheckWineTest, MissingServicesAndNoStarterEndStartUp) {
  EXPECT_FALSE(CheckServicesAtStartup(wmi_, launcher_, "C:\\nowhere\\"));
}

TEST_F(ServiceCheckWineTest, TheStarterRunsStoppedServicesAndWmiThenReportsThemRunning) {
  CreateTestServices();
  for (const char* name : kRequiredServices) EXPECT_FALSE(IsServiceRunning(wmi_, name)) << name;
  EXPECT_TRUE(CheckServicesAtStartup(wmi_, launcher_, Narrow(ui::GetInstancePath())));
  for (const char* name : kRequiredServices) EXPECT_TRUE(IsServiceRunning(wmi_, name)) << name;
  // All running: the starter is not needed, even where it is missing.
  EXPECT_TRUE(CheckServicesAtStartup(wmi_, launcher_, "C:\\nowhere\\"));
}

}  // namespace
}  // namespace panel
