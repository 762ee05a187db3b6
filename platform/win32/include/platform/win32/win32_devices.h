// The device installer on the local machine through SetupAPI and the configuration manager,
// with the 8-bit calls the removal tool makes.
#pragma once
#include "platform/devices.h"

namespace platform::win32 {

class Win32Devices : public Devices {
 public:
  WinError ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) override;
  std::unique_ptr<DeviceInfoList> PresentDevices(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> CreateEmptyList(const Guid& class_guid) override;
  std::vector<std::string> InterfacePaths(const Guid& interface_category,
                                          std::string_view instance_id) override;
};

}  // namespace platform::win32
