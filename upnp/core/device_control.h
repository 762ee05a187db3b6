// The device control object's behaviour: Initialize and GetServiceObject over the tables.
#pragma once
#include <string_view>

#include "platform/debug_output.h"
#include "platform/hresult.h"
#include "upnp/core/device_host_ports.h"
#include "upnp/core/device_table.h"

namespace upnp {

class DeviceControl {
 public:
  DeviceControl(DeviceControlEnvironment& environment, platform::DebugOutput& debug);

  // xml_desc null means the device host passed no description; its text is not read.
  platform::HResult Initialize(const char16_t* xml_desc, std::u16string_view device_id);

  // On success *service is the held reference (the caller adds its own).
  platform::HResult GetServiceObject(std::u16string_view unique_device_name,
                                     std::u16string_view service_id,
                                     const ServiceReference** service) const;

 private:
  platform::HResult CreateServices();
  platform::HResult FetchUniqueDeviceNames(std::u16string_view device_id);
  void ForgetUniqueDeviceNames();

  DeviceControlEnvironment& environment_;
  platform::DebugOutput& debug_;
  DeviceTable table_;
};

}  // namespace upnp
