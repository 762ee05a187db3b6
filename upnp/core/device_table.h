// The devices the library hosts and the services of each, with whole-string lookups.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "upnp/core/device_host_ports.h"

namespace upnp {

inline constexpr std::u16string_view kRootDeviceTemplateUdn = u"RootDevice";
inline constexpr std::u16string_view kOmvoServiceId = u"upnp:id:ZYNOmvoService1.0";

struct ServiceEntry {
  std::u16string service_id;
  std::unique_ptr<ServiceReference> reference;  // empty until Initialize fills it
};

struct DeviceEntry {
  std::u16string template_udn;
  std::u16string unique_device_name;  // empty until Initialize fills it
  std::vector<ServiceEntry> services;
};

class DeviceTable {
 public:
  // The root device with its one service.
  DeviceTable();

  std::vector<DeviceEntry>& devices() { return devices_; }

  // Exact, case-sensitive comparisons of the whole strings; null when nothing matches.
  const DeviceEntry* FindDevice(std::u16string_view unique_device_name) const;
  static const ServiceEntry* FindService(const DeviceEntry& device, std::u16string_view service_id);

 private:
  std::vector<DeviceEntry> devices_;
};

}  // namespace upnp
