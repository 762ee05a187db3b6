#include "panel/win32/win32_display_config_library.h"

#include <cstddef>
#include <string>

namespace panel::win32 {

// The core's records are handed to user32 as they are.
static_assert(sizeof(DisplayConfigPathInfo) == sizeof(DISPLAYCONFIG_PATH_INFO));
static_assert(sizeof(DisplayConfigModeInfo) == sizeof(DISPLAYCONFIG_MODE_INFO));
static_assert(offsetof(DisplayConfigPathInfo, flags) == offsetof(DISPLAYCONFIG_PATH_INFO, flags));
static_assert(offsetof(DisplayConfigModeInfo, mode) ==
              offsetof(DISPLAYCONFIG_MODE_INFO, targetMode));

bool Win32DisplayConfigLibrary::Load(std::string_view library) {
  user32_.reset(LoadLibraryA(std::string(library).c_str()));
  return user32_.valid();
}

bool Win32DisplayConfigLibrary::LookUp(std::string_view function) {
  const std::string name(function);
  if (!user32_) return false;
  FARPROC address = GetProcAddress(user32_.get(), name.c_str());
  if (address == nullptr) return false;
  void* untyped = reinterpret_cast<void*>(address);
  if (name == "GetDisplayConfigBufferSizes") {
    get_buffer_sizes_ = reinterpret_cast<GetBufferSizesFunction>(untyped);
  } else if (name == "QueryDisplayConfig") {
    query_ = reinterpret_cast<QueryFunction>(untyped);
  } else if (name == "SetDisplayConfig") {
    set_ = reinterpret_cast<SetFunction>(untyped);
  }
  return true;
}

void Win32DisplayConfigLibrary::Unload() {
  get_buffer_sizes_ = nullptr;
  query_ = nullptr;
  set_ = nullptr;
  user32_.reset();
}

int32_t Win32DisplayConfigLibrary::GetDisplayConfigBufferSizes(uint32_t flags, uint32_t& path_count,
                                                               uint32_t& mode_count) {
  UINT32 paths = 0;
  UINT32 modes = 0;
  const LONG result = get_buffer_sizes_(flags, &paths, &modes);
  path_count = paths;
  mode_count = modes;
  return result;
}

int32_t Win32DisplayConfigLibrary::QueryDisplayConfig(uint32_t flags, uint32_t& path_count,
                                                      DisplayConfigPathInfo* paths,
                                                      uint32_t& mode_count,
                                                      DisplayConfigModeInfo* modes) {
  UINT32 path_elements = path_count;
  UINT32 mode_elements = mode_count;
  const LONG result =
      query_(flags, &path_elements, reinterpret_cast<DISPLAYCONFIG_PATH_INFO*>(paths),
             &mode_elements, reinterpret_cast<DISPLAYCONFIG_MODE_INFO*>(modes), nullptr);
  path_count = path_elements;
  mode_count = mode_elements;
  return result;
}

int32_t Win32DisplayConfigLibrary::SetDisplayConfig(uint32_t path_count,
                                                    DisplayConfigPathInfo* paths,
                                                    uint32_t mode_count,
                                                    DisplayConfigModeInfo* modes, uint32_t flags) {
  return set_(path_count, reinterpret_cast<DISPLAYCONFIG_PATH_INFO*>(paths), mode_count,
              reinterpret_cast<DISPLAYCONFIG_MODE_INFO*>(modes), flags);
}

}  // namespace panel::win32
