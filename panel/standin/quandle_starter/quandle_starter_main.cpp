// QuandleStarter.exe: starts the services that streaming needs, where they exist, and waits
// a short while for each to report that it runs. Exit code 0 when every existing service runs.
#include <windows.h>

namespace {

constexpr const wchar_t* kServices[] = {L"SSDPSRV", L"upnphost", L"WMPNetworkSvc"};
constexpr DWORD kWaitPerServiceMs = 10000;
constexpr DWORD kPollMs = 100;

// True when the service runs, or does not exist on this machine.
bool StartAndWait(SC_HANDLE manager, const wchar_t* name) {
  SC_HANDLE service = ::OpenServiceW(manager, name, SERVICE_START | SERVICE_QUERY_STATUS);
  if (service == nullptr) return ::GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST;
  SERVICE_STATUS status{};
  bool running = ::QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING;
  if (!running &&
      (::StartServiceW(service, 0, nullptr) || ::GetLastError() == ERROR_SERVICE_ALREADY_RUNNING)) {
    for (DWORD waited = 0; waited < kWaitPerServiceMs; waited += kPollMs) {
      if (::QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING) {
        running = true;
        break;
      }
      ::Sleep(kPollMs);
    }
  }
  ::CloseServiceHandle(service);
  return running;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return 1;
  bool all = true;
  for (const wchar_t* name : kServices) all = StartAndWait(manager, name) && all;
  ::CloseServiceHandle(manager);
  return all ? 0 : 1;
}
