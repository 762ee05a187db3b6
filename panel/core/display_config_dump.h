// The diagnostic dump of the current display configuration: one record per call, each line
// one call to the debug output.
#pragma once
#include "panel/core/display_config_records.h"
#include "platform/debug_output.h"

namespace panel {

void DumpDisplayPath(const DisplayConfigPathInfo& path, platform::DebugOutput& debug);

// Every mode is read both as a source and as a target mode, whatever its type.
void DumpDisplayMode(const DisplayConfigModeInfo& mode, platform::DebugOutput& debug);

}  // namespace panel
