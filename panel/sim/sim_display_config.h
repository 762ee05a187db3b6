// user32's display configuration as a test sets it up: a current configuration of paths and
// modes, functions that may be missing, calls that may fail, and every call recorded.
#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "panel/core/display_config_library.h"

namespace panel::sim {

class SimDisplayConfigLibrary : public DisplayConfigLibrary {
 public:
  // The configuration the queries report.
  std::vector<DisplayConfigPathInfo> paths;
  std::vector<DisplayConfigModeInfo> modes;
  bool library_loads = true;
  std::set<std::string> missing_functions;
  // A nonzero error makes the call fail with it.
  int32_t buffer_sizes_error = 0;
  int32_t query_error = 0;
  int32_t set_result = 0;

  // "Load <name>", "LookUp <name>", "Unload", "GetDisplayConfigBufferSizes flags=0x1",
  // "QueryDisplayConfig flags=0x1 paths=2 modes=4" (the capacities given),
  // "SetDisplayConfig paths=0 modes=0 flags=0x84".
  std::vector<std::string> calls;
  bool IsLoaded() const { return loaded_; }

  bool Load(std::string_view library) override;
  bool LookUp(std::string_view function) override;
  void Unload() override;
  int32_t GetDisplayConfigBufferSizes(uint32_t flags, uint32_t& path_count,
                                      uint32_t& mode_count) override;
  int32_t QueryDisplayConfig(uint32_t flags, uint32_t& path_count, DisplayConfigPathInfo* paths,
                             uint32_t& mode_count, DisplayConfigModeInfo* modes) override;
  int32_t SetDisplayConfig(uint32_t path_count, DisplayConfigPathInfo* paths, uint32_t mode_count,
                           DisplayConfigModeInfo* modes, uint32_t flags) override;

 private:
  // A call to a function that was not looked up is a fault of the caller.
  void RequireFound(const std::string& function) const;

  bool loaded_ = false;
  std::set<std::string> found_;
};

}  // namespace panel::sim
