#include "panel/core/display_topology.h"

#include "panel/core/display_config_topology.h"
#include "panel/core/display_settings_topology.h"
#include "panel/core/windows_version.h"

namespace panel {

int ApplyTopology(TopologyPorts& ports, uint32_t topology) {
  int32_t version = kWinVerUnknown;
  if (!DetectWindowsVersion(ports.os_version, ports.system_metrics, ports.debug, version)) {
    return 0;
  }
  if (version == kWinVerWin7) {
    ports.debug.Write("Win7");
    ApplyTopologyByDisplayConfig(ports.display_config, ports.debug, topology);
  } else {
    ports.debug.Write("Other OS");
    ApplyTopologyByDisplaySettings(ports.display_settings, ports.debug, topology);
  }
  return 1;
}

}  // namespace panel
