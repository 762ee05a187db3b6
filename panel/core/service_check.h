// The start-up check of the services that streaming needs: each is asked for through WMI,
// and if any does not run the service starter is run from the program's folder and waited for.
#pragma once
#include <string>
#include <string_view>

#include "panel/core/wmi_service_query.h"
#include "platform/process.h"

namespace panel {

inline constexpr const char* kRequiredServices[] = {"SSDPSRV", "upnphost", "WMPNetworkSvc"};
inline constexpr char kStarterFileName[] = "QuandleStarter.exe";

// "SELECT * FROM Win32_Service where Name='<name>'", the name as given.
std::string ServiceQueryText(std::string_view name);

// True when some returned object's State contains "Running" (exact case); false on failure.
bool IsServiceRunning(WmiServiceQuery& wmi, std::string_view name);

// Checks the three services; when any does not run, starts the starter (program_folder ends
// with a separator; UTF-8, as the launcher takes it) hidden and waits for it. False when start-up
// must end: the starter could not be started, so there is nothing to wait for.
bool CheckServicesAtStartup(WmiServiceQuery& wmi, platform::ProcessLauncher& launcher,
                            const std::string& program_folder);

}  // namespace panel
