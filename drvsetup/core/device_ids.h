// The ids a device is known by, as read from a device information list.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/devices.h"

namespace drvsetup {

// Instance ids are read into buffers of this many characters.
inline constexpr size_t kInstanceIdChars = 200;

// Empty when the instance id cannot be read.
std::string ReadInstanceId(platform::DeviceInfoList& list, uint32_t index);

// The entries of a multi-string property; none when it cannot be read. The buffer starts at
// 8192 bytes and grows to the reported size while a multi-string does not fit.
std::vector<std::string> ReadIdList(platform::DeviceInfoList& list, uint32_t index,
                                    platform::DeviceProperty property);

}  // namespace drvsetup
