// The "netsh" and "sc" commands that open the firewall for the product program and for
// network discovery and media sharing, and start the SSDP discovery service automatically.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launcher/core/version_flags.h"

namespace launcher {

inline constexpr std::string_view kNetsh = "netsh";
inline constexpr std::string_view kSc = "sc";

struct ExternalCommand {
  std::string_view program;
  // Absent when the parameters did not fit their buffer: such a command is not run.
  std::optional<std::string> parameters;
};

// "<Windows directory>\ZYN\Skyrow.exe"; absent when it does not fit a path buffer.
std::optional<std::string> ProductProgramPath(std::string_view windows_directory);

// The commands of the one branch that applies to this version, in the order they run.
std::vector<ExternalCommand> FirewallCommands(const VersionFlags& flags,
                                              std::string_view product_path);

}  // namespace launcher
