// The command lines the launcher must run, written out in full as the installation expects
// them; shared by the unit and scenario tests.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace launcher::expected {

// Program and parameters.
using CommandLine = std::pair<std::string, std::string>;

inline std::vector<CommandLine> VistaCommands(const std::string& product) {
  return {
      {"netsh", "advfirewall firewall add rule name= Skyrow dir=in action=allow program= " +
                    product + " enable=yes"},
      {"netsh", "advfirewall firewall set rule group=\"Network Discovery\" new enable=yes"},
  };
}

inline std::vector<CommandLine> Windows7Commands(const std::string& product) {
  const std::string set = "advfirewall firewall set rule name=";
  const std::string public_on = " profile=public new enable=yes";
  const std::string wmp = "\"Windows Media Player Network Sharing Service (";
  return {
      {"netsh",
       "advfirewall firewall add rule name=Skyrow dir=in action=allow protocol=TCP "
       "program=" +
           product + " enable=yes"},
      {"netsh",
       "advfirewall firewall add rule name=Skyrow dir=in action=allow protocol=UDP "
       "program=" +
           product + " enable=yes"},
      {"netsh", set + "\"Network Discovery (SSDP-In)\" profile=domain,public new enable=yes"},
      {"netsh", set + "\"Network Discovery (UPnP-In)\"" + public_on},
      {"sc", "config SSDPSRV start= auto"},
      {"netsh", set + wmp + "UPnP-In)\"" + public_on},
      {"netsh", set + wmp + "UDP-In)\"" + public_on},
      {"netsh", set + wmp + "TCP-In)\"" + public_on},
      {"netsh", set + wmp + "Streaming-UDP-In)\"" + public_on},
      {"netsh", set + wmp + "SSDP-In)\"" + public_on},
      {"netsh", set + wmp + "qWave-UDP-In)\"" + public_on},
      {"netsh", set + wmp + "qWave-TCP-In)\"" + public_on},
      {"netsh", set + wmp + "HTTP-Streaming-In)\"" + public_on},
      {"netsh", set + "\"Windows Media Player (UDP-In)\"" + public_on},
  };
}

inline std::vector<CommandLine> XpCommands(const std::string& product) {
  return {{"netsh",
           "firewall add allowedprogram program = " + product + " name = Skyrow mode = ENABLE"}};
}

}  // namespace launcher::expected
