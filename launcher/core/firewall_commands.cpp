#include "launcher/core/firewall_commands.h"

#include <initializer_list>

#include "launcher/core/bounded_format.h"
#include "launcher/core/launcher_buffers.h"

namespace launcher {

namespace {

constexpr std::string_view kProductFolder = "ZYN";
constexpr std::string_view kProductName = "Skyrow";
// Windows 7's rule names carry their quotes; the product's rule name has none.
constexpr std::string_view kProductRule = "Skyrow";

constexpr std::string_view kSetPublicRule =
    "advfirewall firewall set rule name=%s profile=public new enable=yes";

// The media sharing rules opened after the SSDP service step, in order.
constexpr std::string_view kMediaSharingRules[] = {
    "\"Windows Media Player Network Sharing Service (UPnP-In)\"",
    "\"Windows Media Player Network Sharing Service (UDP-In)\"",
    "\"Windows Media Player Network Sharing Service (TCP-In)\"",
    "\"Windows Media Player Network Sharing Service (Streaming-UDP-In)\"",
    "\"Windows Media Player Network Sharing Service (SSDP-In)\"",
    "\"Windows Media Player Network Sharing Service (qWave-UDP-In)\"",
    "\"Windows Media Player Network Sharing Service (qWave-TCP-In)\"",
    "\"Windows Media Player Network Sharing Service (HTTP-Streaming-In)\"",
    "\"Windows Media Player (UDP-In)\"",
};

ExternalCommand Command(std::string_view program, std::string_view format,
                        std::initializer_list<std::string_view> args) {
  return {program, FormatBounded(kPathBufferChars, format, args)};
}

std::vector<ExternalCommand> VistaCommands(std::string_view product_path) {
  return {
      Command(kNetsh,
              "advfirewall firewall add rule name= %s dir=in action=allow program= %s enable=yes",
              {kProductRule, product_path}),
      Command(kNetsh, "advfirewall firewall set rule group=%s new enable=yes",
              {"\"Network Discovery\""}),
  };
}

std::vector<ExternalCommand> Windows7Commands(std::string_view product_path) {
  std::vector<ExternalCommand> commands = {
      Command(kNetsh,
              "advfirewall firewall add rule name=%s dir=in action=allow protocol=TCP "
              "program=%s enable=yes",
              {kProductRule, product_path}),
      Command(kNetsh,
              "advfirewall firewall add rule name=%s dir=in action=allow protocol=UDP "
              "program=%s enable=yes",
              {kProductRule, product_path}),
      Command(kNetsh, "advfirewall firewall set rule name=%s profile=domain,public new enable=yes",
              {"\"Network Discovery (SSDP-In)\""}),
      Command(kNetsh, kSetPublicRule, {"\"Network Discovery (UPnP-In)\""}),
      Command(kSc, "config SSDPSRV start= auto", {}),
  };
  for (std::string_view rule : kMediaSharingRules) {
    commands.push_back(Command(kNetsh, kSetPublicRule, {rule}));
  }
  return commands;
}

std::vector<ExternalCommand> XpCommands(std::string_view product_path) {
  return {Command(kNetsh, "firewall add allowedprogram program = %s name = %s mode = ENABLE",
                  {product_path, kProductRule})};
}

}  // namespace

std::optional<std::string> ProductProgramPath(std::string_view windows_directory) {
  return FormatBounded(kPathBufferChars, "%s\\%s\\%s.exe",
                       {windows_directory, kProductFolder, kProductName});
}

std::vector<ExternalCommand> FirewallCommands(const VersionFlags& flags,
                                              std::string_view product_path) {
  if (flags.vista) return VistaCommands(product_path);
  if (flags.windows7) return Windows7Commands(product_path);
  return XpCommands(product_path);
}

}  // namespace launcher
