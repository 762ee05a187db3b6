// The device template built from one hardware-id text, and the matching of device ids
// against it.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "drvsetup/core/code_page.h"

namespace drvsetup {

enum class TemplateKind { kAllDevices, kInstanceId, kLiteral, kHardwareId };

struct DeviceTemplate {
  std::string text;                // without the leading '@' or quote of its kind
  std::optional<size_t> wildcard;  // byte offset of the first '*' in text
  TemplateKind kind = TemplateKind::kHardwareId;

  // Whether the device list must come from a search of the present devices.
  bool NeedsSearch() const;
};

// "*" means all devices; a leading '@' an instance id; a leading single quote a literal id
// in which '*' has no meaning; anything else a hardware id.
DeviceTemplate BuildDeviceTemplate(std::string_view text, const CodePage& code_page);

// Letters compare without regard to case; double-byte characters are compared and stepped
// as whole characters. The all-devices kind matches every id.
bool MatchesTemplate(std::string_view device_id, const DeviceTemplate& device_template,
                     const CodePage& code_page);

}  // namespace drvsetup
