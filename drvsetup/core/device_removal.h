// Removal of the present devices of a setup class that match a hardware-id text.
#pragma once
#include <string_view>

#include "drvsetup/core/code_page.h"
#include "drvsetup/core/string_table.h"
#include "platform/devices.h"

namespace drvsetup {

enum class DeviceRemovalResult {
  kDone = 0,           // done, or nothing to do
  kRestartNeeded = 1,  // devices removed, at least one needs a restart
  kFailed = 2,
};

// A device whose removal fails is skipped silently.
DeviceRemovalResult RemoveDevices(platform::Devices& devices, StringTable& strings,
                                  const CodePage& code_page, std::string_view class_name,
                                  std::string_view hardware_id_text);

}  // namespace drvsetup
