// The removal tool's application object: start-up checks, command line, removal sequence,
// completion.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "drvsetup/core/setup_ports.h"

namespace drvsetup {

inline constexpr std::string_view kSingleInstanceMutex = "{A77C99CC-EFDF-4c38-891E-9F4701C1672C}";
inline constexpr std::string_view kDifxLibraryFile = "Difxapi.dll";

// Process exit codes.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitNoCommandLine = 1;
inline constexpr int kExitUsage = 2;  // also: the single-instance mutex cannot be created

class CSetupCRApp {
 public:
  explicit CSetupCRApp(SetupPorts& ports);
  // Runs the whole program; command_line is nullopt when none can be read. Returns the exit
  // code.
  int Run(const std::optional<std::string>& command_line);

 private:
  std::string LoadText(unsigned id);
  void ShowMessage(unsigned id, bool topmost);
  void ShowUsage();
  void CopyDifxLibrary();

  SetupPorts& ports_;
};

}  // namespace drvsetup
