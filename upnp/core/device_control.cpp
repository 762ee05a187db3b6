#include "upnp/core/device_control.h"

namespace upnp {

DeviceControl::DeviceControl(DeviceControlEnvironment& environment, platform::DebugOutput& debug)
    : environment_(environment), debug_(debug) {}

platform::HResult DeviceControl::Initialize(const char16_t* xml_desc,
                                            std::u16string_view device_id) {
  debug_.Write("COmvoDCO: Entering Initialize\n");
  if (xml_desc == nullptr) {
    debug_.Write("COmvoDCO: bstrXMLDesc is null\n");
    return platform::kEFail;
  }
  if (platform::Failed(CreateServices())) return platform::kEFail;

  debug_.Write("COmvoDCO: Creating the registrar object\n");
  const platform::HResult hr = FetchUniqueDeviceNames(device_id);
  if (platform::Failed(hr)) return platform::kEFail;
  debug_.Write("COmvoDCO: Exiting the Initialize\n");
  return hr;
}

platform::HResult DeviceControl::CreateServices() {
  for (DeviceEntry& device : table_.devices()) {
    for (ServiceEntry& service : device.services) {
      debug_.Write("COmvoDCO: Creating the service object\n");
      std::unique_ptr<NewServiceObject> object;
      if (platform::Failed(environment_.CreateServiceObject(&object))) {
        debug_.Write("COmvoDCO: Cannot create the service object\n");
        return platform::kEFail;
      }
      if (object == nullptr) {
        debug_.Write("COmvoDCO: The service object is null\n");
        return platform::kEFail;
      }
      debug_.Write("COmvoDCO: Querying the IDispatch for the service object\n");
      std::unique_ptr<ServiceReference> reference;
      if (platform::Failed(object->QueryDispatch(&reference)) || reference == nullptr) {
        debug_.Write("COmvoDCO: Can't get IDispatch interface from the service object\n");
        return platform::kEFail;
      }
      // A repeated Initialize starts the device over: the earlier service and unique
      // device names go before the new service is kept.
      ForgetUniqueDeviceNames();
      service.reference = std::move(reference);
    }
  }
  return platform::kSOk;
}

void DeviceControl::ForgetUniqueDeviceNames() {
  for (DeviceEntry& device : table_.devices()) device.unique_device_name.clear();
}

platform::HResult DeviceControl::FetchUniqueDeviceNames(std::u16string_view device_id) {
  std::unique_ptr<DeviceRegistrar> registrar;
  if (platform::Failed(environment_.CreateRegistrar(&registrar)) || registrar == nullptr) {
    debug_.Write("COmvoDCO: Can't create the registrar object\n");
    return platform::kEFail;
  }
  platform::HResult hr = platform::kSOk;
  for (DeviceEntry& device : table_.devices()) {
    hr = registrar->GetUniqueDeviceName(device_id, device.template_udn, &device.unique_device_name);
    if (platform::Failed(hr)) {
      device.unique_device_name.clear();
      registrar.reset();
      debug_.Write("COmvoDCO: Can't get the unique device names\n");
      return hr;
    }
  }
  return hr;
}

platform::HResult DeviceControl::GetServiceObject(std::u16string_view unique_device_name,
                                                  std::u16string_view service_id,
                                                  const ServiceReference** service) const {
  if (service == nullptr) return platform::kEPointer;
  *service = nullptr;
  // Before Initialize no device has a unique device name, and an empty name must not
  // match one.
  if (unique_device_name.empty()) return platform::kEFail;
  const DeviceEntry* device = table_.FindDevice(unique_device_name);
  if (device == nullptr) return platform::kEFail;
  const ServiceEntry* entry = DeviceTable::FindService(*device, service_id);
  if (entry == nullptr || entry->reference == nullptr) return platform::kEFail;
  *service = entry->reference.get();
  return platform::kSOk;
}

}  // namespace upnp
