#include "panel/sim/sim_display_config.h"

#include <algorithm>
#include <stdexcept>

#include "platform/formatted_text.h"
#include "platform/win_error.h"

namespace panel::sim {

bool SimDisplayConfigLibrary::Load(std::string_view library) {
  calls.push_back("Load " + std::string(library));
  loaded_ = library_loads;
  return loaded_;
}

bool SimDisplayConfigLibrary::LookUp(std::string_view function) {
  const std::string name(function);
  calls.push_back("LookUp " + name);
  if (!loaded_ || missing_functions.count(name) != 0) return false;
  found_.insert(name);
  return true;
}

void SimDisplayConfigLibrary::Unload() {
  calls.push_back("Unload");
  loaded_ = false;
  found_.clear();
}

void SimDisplayConfigLibrary::RequireFound(const std::string& function) const {
  if (!loaded_ || found_.count(function) == 0) {
    throw std::logic_error(function + " called without being looked up");
  }
}

int32_t SimDisplayConfigLibrary::GetDisplayConfigBufferSizes(uint32_t flags, uint32_t& path_count,
                                                             uint32_t& mode_count) {
  calls.push_back(platform::FormatText("GetDisplayConfigBufferSizes flags=0x%X", flags));
  RequireFound("GetDisplayConfigBufferSizes");
  if (buffer_sizes_error != 0) return buffer_sizes_error;
  path_count = static_cast<uint32_t>(paths.size());
  mode_count = static_cast<uint32_t>(modes.size());
  return 0;
}

int32_t SimDisplayConfigLibrary::QueryDisplayConfig(uint32_t flags, uint32_t& path_count,
                                                    DisplayConfigPathInfo* path_array,
                                                    uint32_t& mode_count,
                                                    DisplayConfigModeInfo* mode_array) {
  calls.push_back(platform::FormatText("QueryDisplayConfig flags=0x%X paths=%u modes=%u", flags,
                                       path_count, mode_count));
  RequireFound("QueryDisplayConfig");
  if (query_error != 0) return query_error;
  if (path_count < paths.size() || mode_count < modes.size()) {
    return static_cast<int32_t>(platform::kErrorInsufficientBuffer);
  }
  std::copy(paths.begin(), paths.end(), path_array);
  std::copy(modes.begin(), modes.end(), mode_array);
  path_count = static_cast<uint32_t>(paths.size());
  mode_count = static_cast<uint32_t>(modes.size());
  return 0;
}

int32_t SimDisplayConfigLibrary::SetDisplayConfig(uint32_t path_count, DisplayConfigPathInfo*,
                                                  uint32_t mode_count, DisplayConfigModeInfo*,
                                                  uint32_t flags) {
  calls.push_back(platform::FormatText("SetDisplayConfig paths=%u modes=%u flags=0x%X", path_count,
                                       mode_count, flags));
  RequireFound("SetDisplayConfig");
  return set_result;
}

}  // namespace panel::sim
