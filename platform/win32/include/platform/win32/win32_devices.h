// The device installer on the local machine through SetupAPI and the configuration manager,
// with the 8-bit calls the removal tool makes and the wide ones the audio program makes, and the
// device files behind interface paths.
#pragma once
#include "platform/devices.h"

namespace platform::win32 {

class Win32Devices : public Devices {
 public:
  WinError ClassGuidsFromName(std::string_view class_name, std::vector<Guid>* guids) override;
  std::unique_ptr<DeviceInfoList> PresentDevices(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> CreateEmptyList(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> WidePresentDevices(const Guid& class_guid) override;
  std::unique_ptr<DeviceInfoList> InterfaceDevices(const Guid& category,
                                                   std::u16string_view instance_id,
                                                   WinError* error) override;
  std::unique_ptr<DeviceFile> OpenDeviceFile(std::u16string_view path, WinError* error) override;
};

}  // namespace platform::win32
