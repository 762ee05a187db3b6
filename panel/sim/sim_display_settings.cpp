#include "panel/sim/sim_display_settings.h"

#include <algorithm>

namespace panel::sim {
namespace {

// A text as long as its field fills it with no terminator, as a faulty driver might.
template <size_t N>
void CopyText(const std::u16string& text, char16_t (&field)[N]) {
  std::fill(std::begin(field), std::end(field), u'\0');
  std::copy_n(text.begin(), std::min(text.size(), N), field);
}

}  // namespace

DevModeW SavedMode(int32_t x, int32_t y, uint32_t width, uint32_t height) {
  DevModeW mode;
  mode.size = sizeof(DevModeW);
  mode.fields = kDmPosition | kDmPelsWidth | kDmPelsHeight;
  mode.position_x = x;
  mode.position_y = y;
  mode.pels_width = width;
  mode.pels_height = height;
  mode.bits_per_pel = 32;
  mode.display_frequency = 60;
  return mode;
}

bool SimDisplaySettings::EnumDevice(uint32_t index, DisplayDeviceW& device, uint32_t) {
  if (device.cb != sizeof(DisplayDeviceW) || index >= devices.size()) return false;
  const SimDisplayDevice& source = devices[index];
  CopyText(source.name, device.device_name);
  CopyText(source.description, device.device_string);
  device.state_flags = source.state_flags;
  return true;
}

const SimDisplayDevice* SimDisplaySettings::FindDevice(const std::u16string& name) const {
  const auto device = std::find_if(devices.begin(), devices.end(), [&](const auto& d) {
    return name.empty() ? (d.state_flags & kDisplayDevicePrimaryDevice) != 0 : d.name == name;
  });
  return device == devices.end() ? nullptr : &*device;
}

bool SimDisplaySettings::EnumSettings(const std::u16string& device_name, uint32_t mode_number,
                                      DevModeW& mode, uint32_t flags) {
  settings_reads.push_back({device_name, mode_number, flags});
  const SimDisplayDevice* device = FindDevice(device_name);
  if (mode.size != sizeof(DevModeW) || device == nullptr) return false;
  const DevModeW* found = nullptr;
  if (mode_number == kEnumRegistrySettings && device->registry_settings) {
    found = &*device->registry_settings;
  } else if (mode_number == kEnumCurrentSettings && device->current_settings) {
    found = &*device->current_settings;
  } else if (mode_number < device->modes.size()) {
    found = &device->modes[mode_number];
  }
  if (found == nullptr) return false;
  mode = *found;
  return true;
}

int32_t SimDisplaySettings::ChangeSettings(const std::optional<std::u16string>& device_name,
                                           DevModeW* mode, uint32_t flags) {
  SettingsChange change{device_name, std::nullopt, flags};
  if (mode != nullptr) change.mode = *mode;
  changes.push_back(change);
  if (!device_name) return kDispChangeSuccessful;
  const SimDisplayDevice* device = FindDevice(*device_name);
  if (device == nullptr) return kDispChangeBadParam;
  const bool sized =
      mode != nullptr && (mode->fields & kDmPelsWidth) != 0 && (mode->fields & kDmPelsHeight) != 0;
  if (!sized || device->modes.empty()) return kDispChangeSuccessful;
  const bool listed = std::any_of(device->modes.begin(), device->modes.end(), [&](const auto& m) {
    return m.pels_width == mode->pels_width && m.pels_height == mode->pels_height;
  });
  return listed ? kDispChangeSuccessful : kDispChangeBadMode;
}

}  // namespace panel::sim
