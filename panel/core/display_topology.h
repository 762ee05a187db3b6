// The display topology the user chooses in "setview": on Windows 7 through the display
// configuration, on every other version through the display settings.
#pragma once
#include <cstdint>

#include "panel/core/display_config_library.h"
#include "panel/core/display_settings.h"
#include "panel/core/system_metrics.h"
#include "platform/debug_output.h"
#include "platform/os_version.h"

namespace panel {

struct TopologyPorts {
  platform::OsVersion& os_version;
  SystemMetrics& system_metrics;
  DisplayConfigLibrary& display_config;
  DisplaySettings& display_settings;
  platform::DebugOutput& debug;
};

// Returns 1 when a path ran, 0 when nothing was done (the version could not be read).
int ApplyTopology(TopologyPorts& ports, uint32_t topology);

}  // namespace panel
