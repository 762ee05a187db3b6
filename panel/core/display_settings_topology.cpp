#include "panel/core/display_settings_topology.h"

#include <optional>
#include <string>

#include "panel/core/adapter_vendor.h"
#include "panel/core/field_text.h"
#include "platform/formatted_text.h"
#include "platform/strings.h"

namespace panel {
namespace {

constexpr uint32_t kTopologyFields = kDmPosition | kDmPelsWidth | kDmPelsHeight;
// A device with a state flag in bits 8 to 15 is not taken as the secondary.
constexpr uint32_t kNotSecondaryStateFlags = 0xFF00;

// The first two display devices as the topology uses them.
struct TopologyDevices {
  std::u16string primary_name;
  std::u16string secondary_name;
  DevModeW primary;  // read from the primary's saved settings
};

// Looks at devices 0 and 1 (1 only when 0 was read). nullopt when the path must stop: an
// "ATI" first adapter, a first device that cannot be read, or a primary first device whose
// saved settings cannot be read.
std::optional<TopologyDevices> FindTopologyDevices(DisplaySettings& settings,
                                                   platform::DebugOutput& debug) {
  TopologyDevices devices;
  devices.primary.size = sizeof(DevModeW);
  DisplayDeviceW device;
  device.cb = sizeof(DisplayDeviceW);
  for (uint32_t index = 0; index < 2; ++index) {
    bool succeeded = settings.EnumDevice(index, device, 0);
    if (index == 0 &&
        AdapterVendorCheck(FieldText(device.device_string), debug) == kAdapterVendorAti) {
      return std::nullopt;
    }
    if (succeeded) {
      if ((device.state_flags & kDisplayDevicePrimaryDevice) != 0) {
        devices.primary_name = FieldText(device.device_name);
        succeeded = settings.EnumSettings(devices.primary_name, kEnumRegistrySettings,
                                          devices.primary, kEdsRawMode);
      } else if ((device.state_flags & kNotSecondaryStateFlags) == 0) {
        devices.secondary_name = FieldText(device.device_name);
      }
    }
    if (index == 0 && !succeeded) return std::nullopt;
  }
  return devices;
}

void WriteDeviceLine(platform::DebugOutput& debug, const char* label, const std::u16string& name,
                     const DevModeW& mode) {
  std::u16string line = platform::Utf8ToUtf16(label);
  line += name;
  line += platform::Utf8ToUtf16(
      platform::FormatText(" (%d,%d,%d,%d)\r\n", mode.position_x, mode.position_y,
                           static_cast<int>(mode.pels_width), static_cast<int>(mode.pels_height)));
  debug.Write(std::u16string_view(line));
}

}  // namespace

int ApplyTopologyByDisplaySettings(DisplaySettings& settings, platform::DebugOutput& debug,
                                   uint32_t topology) {
  std::optional<TopologyDevices> devices = FindTopologyDevices(settings, debug);
  if (!devices) return 0;

  DevModeW& primary = devices->primary;
  DevModeW secondary;
  secondary.size = sizeof(DevModeW);
  primary.fields = kTopologyFields;
  secondary.fields = kTopologyFields;
  secondary.pels_width = primary.pels_width;
  secondary.pels_height = primary.pels_height;
  primary.position_x = 0;
  primary.position_y = 0;
  secondary.position_x = topology == kTopologyExtend ? static_cast<int32_t>(primary.pels_width) : 0;
  secondary.position_y = 0;
  // "Main only" detaches the secondary: a device given no size leaves the desktop.
  if (topology == kTopologyExternal || topology == kTopologyInternal) {
    secondary.pels_width = 0;
    secondary.pels_height = 0;
  }

  WriteDeviceLine(debug, "Pri: ", devices->primary_name, primary);
  WriteDeviceLine(debug, "Add: ", devices->secondary_name, secondary);

  settings.ChangeSettings(devices->primary_name, &primary,
                          kCdsUpdateRegistry | kCdsSetPrimary | kCdsNoReset);
  settings.ChangeSettings(devices->secondary_name, &secondary, kCdsUpdateRegistry | kCdsNoReset);
  settings.ChangeSettings(std::nullopt, nullptr, 0);
  return 1;
}

}  // namespace panel
