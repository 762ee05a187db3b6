#include "upnp/device_control.h"

namespace upnp {

DeviceControl::DeviceControl(DeviceControlEnvironment& environment, platform::DebugOutput& debug)
    : environment_(environment), debug_(debug) {}

Hresult DeviceControl::Initialize(const char16_t* xml_desc, std::u16string_view device_id) {
  debug_.Write("COmvoDCO: Entering Initialize\n");
  if (xml_desc == nullptr) {
    debug_.Write("COmvoDCO: bstrXMLDesc is null\n");
    return kEFail;
  }
  if (Failed(CreateServices())) return kEFail;

  debug_.Write("COmvoDCO: Creating the registrar object\n");
  const Hresult hr = FetchUniqueDeviceNames(device_id);
  if (Failed(hr)) return kEFail;
  debug_.Write("COmvoDCO: Exiting the Initialize\n");
  return hr;
}

Hresult DeviceControl::CreateServices() {
  for (DeviceEntry& device : table_.devices()) {
    for (ServiceEntry& service : device.services) {
      debug_.Write("COmvoDCO: Creating the service object\n");
      std::unique_ptr<NewServiceObject> object;
      if (Failed(environment_.CreateServiceObject(&object))) {
        debug_.Write("COmvoDCO: Cannot create the service object\n");
        return kEFail;
      }
      if (object == nullptr) {
        debug_.Write("COmvoDCO: The service object is null\n");
        return kEFail;
      }
      debug_.Write("COmvoDCO: Querying the IDispatch for the service object\n");
      std::unique_ptr<ServiceReference> reference;
      if (Failed(object->QueryDispatch(&reference)) || reference == nullptr) {
        debug_.Write("COmvoDCO: Can't get IDispatch interface from the service object\n");
        return kEFail;
      }
      // A repeated Initialize starts the device over: the earlier service and unique
      // device names go before the new service is kept.
      ForgetUniqueDeviceNames();
      service.reference = std::move(reference);
    }
  }
  return kSOk;
}

void DeviceControl::ForgetUniqueDeviceNames() {
  for (DeviceEntry& device : table_.devices()) device.unique_device_name.clear();
}

Hresult DeviceControl::FetchUniqueDeviceNames(std::u16string_view device_id) {
  std::unique_ptr<DeviceRegistrar> registrar;
  if (Failed(environment_.CreateRegistrar(&registrar)) || registrar == nullptr) {
    debug_.Write("COmvoDCO: Can't create the registrar object\n");
    return kEFail;
  }
  Hresult hr = kSOk;
  for (DeviceEntry& device : table_.devices()) {
    hr = registrar->GetUniqueDeviceName(device_id, device.template_udn, &device.unique_device_name);
    if (Failed(hr)) {
      device.unique_device_name.clear();
      registrar.reset();
      debug_.Write("COmvoDCO: Can't get the unique device names\n");
      return hr;
    }
  }
  return hr;
}

Hresult DeviceControl::GetServiceObject(std::u16string_view unique_device_name,
                                        std::u16string_view service_id,
                                        const ServiceReference** service) const {
  if (service == nullptr) return kEPointer;
  *service = nullptr;
  // Before Initialize no device has a unique device name, and an empty name must not
  // match one.
  if (unique_device_name.empty()) return kEFail;
  const DeviceEntry* device = table_.FindDevice(unique_device_name);
  if (device == nullptr) return kEFail;
  const ServiceEntry* entry = DeviceTable::FindService(*device, service_id);
  if (entry == nullptr || entry->reference == nullptr) return kEFail;
  *service = entry->reference.get();
  return kSOk;
}

}  // namespace upnp
