// The removal tool's command line: "-O <mask>" (or /O, any letter case) selects components,
// "-S" asks for no completion box.
#pragma once
#include <cstdint>
#include <string_view>

namespace drvsetup {

struct CommandLineOptions {
  bool usage = false;       // a bad option was met: show the usage box
  uint32_t components = 0;  // bits 0 to 4 of every O value, added up
  bool quiet = true;        // the completion box is off from the start
};

// O values longer than this are skipped.
inline constexpr size_t kMaxOptionValueChars = 259;

// line is the whole command line, program name first.
CommandLineOptions ParseCommandLine(std::string_view line);

}  // namespace drvsetup
