#include "panel/core/display_config_topology.h"

#include <algorithm>
#include <vector>

#include "panel/core/display_config_dump.h"

namespace panel {
namespace {

// Far above any real configuration; a larger count from the system is not allocated as asked.
constexpr uint32_t kMaxConfigEntries = 1024;

constexpr const char* kDisplayConfigFunctions[] = {
    "SetDisplayConfig", "GetDisplayConfigBufferSizes", "QueryDisplayConfig"};

void DumpConfiguration(DisplayConfigLibrary& library, platform::DebugOutput& debug) {
  uint32_t path_count = 0;
  uint32_t mode_count = 0;
  if (library.GetDisplayConfigBufferSizes(kQdcAllPaths, path_count, mode_count) != 0) {
    debug.Write("GetDisplayConfigBufferSizes error");
  }
  std::vector<DisplayConfigPathInfo> paths(std::min(path_count, kMaxConfigEntries));
  std::vector<DisplayConfigModeInfo> modes(std::min(mode_count, kMaxConfigEntries));
  path_count = static_cast<uint32_t>(paths.size());
  mode_count = static_cast<uint32_t>(modes.size());
  if (library.QueryDisplayConfig(kQdcAllPaths, path_count, paths.data(), mode_count,
                                 modes.data()) != 0) {
    debug.Write(" QueryDisplayConfig erro");
    // A failed query returns no records.
    path_count = 0;
    mode_count = 0;
  }
  // The returned counts are the records filled; never more than were allocated.
  paths.resize(std::min<size_t>(path_count, paths.size()));
  modes.resize(std::min<size_t>(mode_count, modes.size()));
  for (const DisplayConfigPathInfo& path : paths) DumpDisplayPath(path, debug);
  for (const DisplayConfigModeInfo& mode : modes) DumpDisplayMode(mode, debug);
}

}  // namespace

const char* SetDisplayConfigResultName(int32_t result) {
  switch (result) {
    case 0:
      return "ERRO_SUCESS";
    case 5:
      return "ERROR_ACCESS_DENIED";
    case 31:
      return "ERROR_GEN_FAILURE";
    case 50:
      return "ERROR_NOT_SUPPORTED";
    case 87:
      return "ERROR_INVALID_PARAMETER";
    case 122:
      return "ERROR_INSUFFICIENT_BUFFER";
    default:
      return "unkonw";
  }
}

int ApplyTopologyByDisplayConfig(DisplayConfigLibrary& library, platform::DebugOutput& debug,
                                 uint32_t topology) {
  // Without the library there is nothing to look the functions up in.
  if (!library.Load("user32.dll")) return 0;
  debug.Write("Load OK");
  for (const char* function : kDisplayConfigFunctions) {
    if (!library.LookUp(function)) {
      library.Unload();
      return 0;
    }
  }
  DumpConfiguration(library, debug);
  debug.Write("Get OK");
  const int32_t result = library.SetDisplayConfig(0, nullptr, 0, nullptr, topology | kSdcApply);
  debug.Write(SetDisplayConfigResultName(result));
  library.Unload();
  return 1;
}

}  // namespace panel
