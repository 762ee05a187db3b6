#include "launcher/core/removal_tool.h"

#include "launcher/core/launcher_buffers.h"

namespace launcher {

static_assert(kRemovalTool64.size() < kToolNameBufferChars);
static_assert(kRemovalTool32.size() < kToolNameBufferChars);

std::string_view RemovalToolName(bool wow64) { return wow64 ? kRemovalTool64 : kRemovalTool32; }

std::string_view RemovalToolParameters(const VersionFlags& flags) {
  return flags.vista_or_later ? "-O 24 -S" : "-O 8 -S";
}

}  // namespace launcher
