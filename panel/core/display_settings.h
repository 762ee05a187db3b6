// Display devices and their settings through user32 (EnumDisplayDevicesW,
// EnumDisplaySettingsExW, ChangeDisplaySettingsExW). Device names are as the system gives them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "panel/core/display_settings_records.h"

namespace panel {

class DisplaySettings {
 public:
  virtual ~DisplaySettings() = default;
  // EnumDisplayDevicesW with no parent device; the record's size field is set by the caller.
  virtual bool EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t flags) = 0;
  // EnumDisplaySettingsExW; the record's size field is set by the caller.
  virtual bool EnumSettings(const std::u16string& device_name, uint32_t mode_number, DevModeW& mode,
                            uint32_t flags) = 0;
  // ChangeDisplaySettingsExW; no device name and no record (nullopt, nullptr) applies the
  // settings saved before. Returns the DISP_CHANGE_ code.
  virtual int32_t ChangeSettings(const std::optional<std::u16string>& device_name, DevModeW* mode,
                                 uint32_t flags) = 0;
};

}  // namespace panel
