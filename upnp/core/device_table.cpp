#include "upnp/core/device_table.h"

namespace upnp {

DeviceTable::DeviceTable() {
  DeviceEntry root;
  root.template_udn = kRootDeviceTemplateUdn;
  root.services.push_back(ServiceEntry{std::u16string(kOmvoServiceId), nullptr});
  devices_.push_back(std::move(root));
}

const DeviceEntry* DeviceTable::FindDevice(std::u16string_view unique_device_name) const {
  for (const DeviceEntry& device : devices_) {
    if (device.unique_device_name == unique_device_name) return &device;
  }
  return nullptr;
}

const ServiceEntry* DeviceTable::FindService(const DeviceEntry& device,
                                             std::u16string_view service_id) {
  for (const ServiceEntry& service : device.services) {
    if (service.service_id == service_id) return &service;
  }
  return nullptr;
}

}  // namespace upnp
