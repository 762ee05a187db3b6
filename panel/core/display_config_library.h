// The display-configuration functions of user32, found by name at run time because systems
// before Windows 7 do not have them. Results keep their Windows error codes.
#pragma once
#include <cstdint>
#include <string_view>

#include "panel/core/display_config_records.h"

namespace panel {

class DisplayConfigLibrary {
 public:
  virtual ~DisplayConfigLibrary() = default;
  // LoadLibrary of the named library; false when it cannot be loaded.
  virtual bool Load(std::string_view library) = 0;
  // GetProcAddress in the loaded library; false when the function is missing.
  virtual bool LookUp(std::string_view function) = 0;
  virtual void Unload() = 0;

  // Only after Load and a successful LookUp of the function.
  virtual int32_t GetDisplayConfigBufferSizes(uint32_t flags, uint32_t& path_count,
                                              uint32_t& mode_count) = 0;
  virtual int32_t QueryDisplayConfig(uint32_t flags, uint32_t& path_count,
                                     DisplayConfigPathInfo* paths, uint32_t& mode_count,
                                     DisplayConfigModeInfo* modes) = 0;
  virtual int32_t SetDisplayConfig(uint32_t path_count, DisplayConfigPathInfo* paths,
                                   uint32_t mode_count, DisplayConfigModeInfo* modes,
                                   uint32_t flags) = 0;
};

}  // namespace panel
