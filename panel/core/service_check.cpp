#include "panel/core/service_check.h"

namespace panel {

std::string ServiceQueryText(std::string_view name) {
  return "SELECT * FROM Win32_Service where Name='" + std::string(name) + "'";
}

bool IsServiceRunning(WmiServiceQuery& wmi, std::string_view name) {
  auto states = wmi.QueryStates(ServiceQueryText(name));
  if (!states) return false;
  bool running = false;
  // Every object is looked at, as the enumeration reads them all.
  for (const std::string& state : *states) {
    if (state.find("Running") != std::string::npos) running = true;
  }
  return running;
}

bool CheckServicesAtStartup(WmiServiceQuery& wmi, platform::ProcessLauncher& launcher,
                            const std::string& program_folder) {
  int stopped = 0;
  for (const char* service : kRequiredServices) {
    if (!IsServiceRunning(wmi, service)) ++stopped;
  }
  if (stopped == 0) return true;
  platform::ShellExecuteRequest request;
  request.file = program_folder + kStarterFileName;
  request.show = platform::kShowHidden;
  request.keep_process = true;
  platform::WinError error = 0;
  auto process = launcher.ShellExecute(request, &error);
  if (!process) return false;
  process->Wait();
  return true;
}

}  // namespace panel
