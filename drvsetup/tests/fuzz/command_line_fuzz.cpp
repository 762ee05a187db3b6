// Any byte string as a command line: the walk must stay inside the text and keep the mask
// to the five component bits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "drvsetup/core/command_line.h"
#include "drvsetup/core/component_mask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const drvsetup::CommandLineOptions options = drvsetup::ParseCommandLine(line);
  if ((options.components & ~drvsetup::kAllComponents) != 0 || !options.quiet) std::abort();
  return 0;
}
