// The display devices of a PC as a test sets them up, each with the settings saved in the
// registry, and every change call recorded.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "panel/core/display_settings.h"

namespace panel::sim {

struct SimDisplayDevice {
  std::u16string name;         // "\\.\DISPLAY1"
  std::u16string description;  // the adapter's
  uint32_t state_flags = 0;
  std::optional<DevModeW> registry_settings;  // nullopt: none saved
  std::optional<DevModeW> current_settings;   // nullopt: not shown on the desktop
  // The modes listed by number; a change to a size none of them has is refused. With none
  // listed, every size is taken.
  std::vector<DevModeW> modes;
};

struct SettingsChange {
  std::optional<std::u16string> device_name;
  std::optional<DevModeW> mode;
  uint32_t flags = 0;
};

// A saved mode of the given size at the given position.
DevModeW SavedMode(int32_t x, int32_t y, uint32_t width, uint32_t height);

class SimDisplaySettings : public DisplaySettings {
 public:
  std::vector<SimDisplayDevice> devices;
  std::vector<SettingsChange> changes;
  // Every EnumSettings call: the device name, mode number and flags given.
  struct SettingsRead {
    std::u16string device_name;
    uint32_t mode_number = 0;
    uint32_t flags = 0;
  };
  std::vector<SettingsRead> settings_reads;

  bool EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t flags) override;
  bool EnumSettings(const std::u16string& device_name, uint32_t mode_number, DevModeW& mode,
                    uint32_t flags) override;
  int32_t ChangeSettings(const std::optional<std::u16string>& device_name, DevModeW* mode,
                         uint32_t flags) override;

 private:
  // The named device; an empty name is the primary one.
  const SimDisplayDevice* FindDevice(const std::u16string& name) const;
};

}  // namespace panel::sim
