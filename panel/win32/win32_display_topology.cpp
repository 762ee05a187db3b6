#include "panel/win32/win32_display_topology.h"

#include "panel/core/display_topology.h"
#include "panel/win32/win32_display_config_library.h"
#include "panel/win32/win32_display_settings.h"
#include "panel/win32/win32_system_metrics.h"
#include "platform/win32/win32_debug_output.h"
#include "platform/win32/win32_os_version.h"

namespace panel::win32 {

int ApplyTopologyOnThisSystem(int topology) {
  platform::win32::Win32OsVersion os_version;
  Win32SystemMetrics system_metrics;
  Win32DisplayConfigLibrary display_config;
  Win32DisplaySettings display_settings;
  platform::win32::Win32DebugOutput debug;
  TopologyPorts ports{os_version, system_metrics, display_config, display_settings, debug};
  return ApplyTopology(ports, static_cast<uint32_t>(topology));
}

}  // namespace panel::win32
