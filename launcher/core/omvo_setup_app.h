// The setup launcher's application object: one pass that prepares the PC for streaming and
// hands over to the driver removal tool.
#pragma once
#include <string_view>

#include "launcher/core/version_flags.h"
#include "platform/files.h"
#include "platform/os_version.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace launcher {

struct LauncherPorts {
  platform::OsVersion& os;
  platform::Registry& registry;
  platform::ProcessLauncher& processes;
  platform::Files& files;
};

class COmvoSetupApp {
 public:
  explicit COmvoSetupApp(const LauncherPorts& ports);

  // Runs every step; returns the process exit code, which is always 0: the launcher relies on
  // none of the results of what it runs.
  int InitInstance();

 private:
  void ConfigureFirewallAndServices(const VersionFlags& flags);
  void RunRemovalTool(std::string_view tool_name, const VersionFlags& flags);
  // Starts through the shell, hidden, and waits without limit; a start failure is dropped.
  void RunHiddenAndWait(std::string_view file, std::string_view parameters,
                        std::string_view directory);

  LauncherPorts ports_;
};

}  // namespace launcher
