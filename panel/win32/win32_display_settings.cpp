#include "panel/win32/win32_display_settings.h"

#include <windows.h>

#include <cstddef>

#include "platform/win32/wide_text.h"

namespace panel::win32 {

// The core's records are handed to user32 as they are.
static_assert(sizeof(DevModeW) == sizeof(DEVMODEW));
static_assert(offsetof(DevModeW, fields) == offsetof(DEVMODEW, dmFields));
static_assert(offsetof(DevModeW, position_x) == offsetof(DEVMODEW, dmPosition));
static_assert(offsetof(DevModeW, pels_width) == offsetof(DEVMODEW, dmPelsWidth));
static_assert(offsetof(DevModeW, pels_height) == offsetof(DEVMODEW, dmPelsHeight));
static_assert(sizeof(DisplayDeviceW) == sizeof(DISPLAY_DEVICEW));
static_assert(offsetof(DisplayDeviceW, state_flags) == offsetof(DISPLAY_DEVICEW, StateFlags));

bool Win32DisplaySettings::EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t flags) {
  return EnumDisplayDevicesW(nullptr, index, reinterpret_cast<DISPLAY_DEVICEW*>(&device), flags) !=
         FALSE;
}

bool Win32DisplaySettings::EnumSettings(const std::u16string& device_name, uint32_t mode_number,
                                        DevModeW& mode, uint32_t flags) {
  const std::wstring name = platform::win32::ToWide(device_name);
  return EnumDisplaySettingsExW(name.c_str(), mode_number, reinterpret_cast<DEVMODEW*>(&mode),
                                flags) != FALSE;
}

int32_t Win32DisplaySettings::ChangeSettings(const std::optional<std::u16string>& device_name,
                                             DevModeW* mode, uint32_t flags) {
  std::wstring name;
  if (device_name) name = platform::win32::ToWide(*device_name);
  return ChangeDisplaySettingsExW(device_name ? name.c_str() : nullptr,
                                  reinterpret_cast<DEVMODEW*>(mode), nullptr, flags, nullptr);
}

}  // namespace panel::win32
