// The display-devices-and-settings port on user32.
#pragma once
#include "panel/core/display_settings.h"

namespace panel::win32 {

class Win32DisplaySettings : public DisplaySettings {
 public:
  bool EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t flags) override;
  bool EnumSettings(const std::u16string& device_name, uint32_t mode_number, DevModeW& mode,
                    uint32_t flags) override;
  int32_t ChangeSettings(const std::optional<std::u16string>& device_name, DevModeW* mode,
                         uint32_t flags) override;
};

}  // namespace panel::win32
