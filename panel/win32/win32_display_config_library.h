// The display-configuration port on user32, loaded and looked up at run time.
#pragma once
#include <windows.h>

#include "panel/core/display_config_library.h"
#include "platform/win32/scoped_handles.h"

namespace panel::win32 {

class Win32DisplayConfigLibrary : public DisplayConfigLibrary {
 public:
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
  using GetBufferSizesFunction = LONG(WINAPI*)(UINT32, UINT32*, UINT32*);
  using QueryFunction = LONG(WINAPI*)(UINT32, UINT32*, DISPLAYCONFIG_PATH_INFO*, UINT32*,
                                      DISPLAYCONFIG_MODE_INFO*, DISPLAYCONFIG_TOPOLOGY_ID*);
  using SetFunction = LONG(WINAPI*)(UINT32, DISPLAYCONFIG_PATH_INFO*, UINT32,
                                    DISPLAYCONFIG_MODE_INFO*, UINT32);

  platform::win32::ScopedModule user32_;
  GetBufferSizesFunction get_buffer_sizes_ = nullptr;
  QueryFunction query_ = nullptr;
  SetFunction set_ = nullptr;
};

}  // namespace panel::win32
