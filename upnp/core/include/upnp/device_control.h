// The device control object's behaviour: Initialize and GetServiceObject over the tables.
#pragma once
#include <string_view>

#include "platform/debug_output.h"
#include "upnp/device_host_ports.h"
#include "upnp/device_table.h"
#include "upnp/hresult.h"

namespace upnp {

class DeviceControl {
 public:
  DeviceControl(DeviceControlEnvironment& environment, platform::DebugOutput& debug);

  // xml_desc null means the device host passed no description; its text is not read.
  Hresult Initialize(const char16_t* xml_desc, std::u16string_view device_id);

  // On success *service is the held reference (the caller adds its own).
  Hresult GetServiceObject(std::u16string_view unique_device_name, std::u16string_view service_id,
                           const ServiceReference** service) const;

 private:
  Hresult CreateServices();
  Hresult FetchUniqueDeviceNames(std::u16string_view device_id);
  void ForgetUniqueDeviceNames();

  DeviceControlEnvironment& environment_;
  platform::DebugOutput& debug_;
  DeviceTable table_;
};

}  // namespace upnp
