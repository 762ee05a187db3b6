#include "launcher/core/omvo_setup_app.h"

#include <memory>
#include <optional>
#include <string>

#include "launcher/core/firewall_commands.h"
#include "launcher/core/media_sharing_key.h"
#include "launcher/core/removal_tool.h"
#include "launcher/core/removal_tool_search.h"

namespace launcher {

COmvoSetupApp::COmvoSetupApp(const LauncherPorts& ports) : ports_(ports) {}

int COmvoSetupApp::InitInstance() {
  const bool wow64 = ports_.os.IsWow64().value_or(false);
  const std::string_view tool_name = RemovalToolName(wow64);
  const VersionFlags flags = DetermineVersionFlags(ports_.os);
  if (wow64 && flags.vista_or_later) WriteMediaSharingValue(ports_.registry);
  ConfigureFirewallAndServices(flags);
  RunRemovalTool(tool_name, flags);
  return 0;
}

void COmvoSetupApp::ConfigureFirewallAndServices(const VersionFlags& flags) {
  // Without the Windows directory there is neither a product path to open the firewall for
  // nor a trusted working folder to start the system tools from.
  const std::optional<std::string> windows_directory = ports_.files.WindowsDirectory();
  if (!windows_directory) return;
  const std::optional<std::string> product_path = ProductProgramPath(*windows_directory);
  if (!product_path) return;
  for (const ExternalCommand& command : FirewallCommands(flags, *product_path)) {
    if (command.parameters) {
      RunHiddenAndWait(command.program, *command.parameters, *windows_directory);
    }
  }
}

void COmvoSetupApp::RunRemovalTool(std::string_view tool_name, const VersionFlags& flags) {
  const std::optional<std::string> current = ports_.files.CurrentDirectory();
  if (!current) return;
  const std::optional<std::string> folder =
      FindRemovalToolFolder(ports_.files, *current, tool_name);
  if (!folder) return;
  RunHiddenAndWait(tool_name, RemovalToolParameters(flags), *folder);
}

void COmvoSetupApp::RunHiddenAndWait(std::string_view file, std::string_view parameters,
                                     std::string_view directory) {
  platform::ShellExecuteRequest request;
  request.verb = "open";
  request.file = std::string(file);
  request.parameters = std::string(parameters);
  request.directory = std::string(directory);
  request.show = platform::kShowHidden;
  request.keep_process = true;
  platform::WinError error = platform::kErrorSuccess;
  const std::unique_ptr<platform::ProcessHandle> process =
      ports_.processes.ShellExecute(request, &error);
  // Destroying the handle closes it.
  if (process) process->Wait();
}

}  // namespace launcher
