// What the device control object needs from COM: the service object it creates and the
// device host's registrar. Destroying a reference object releases what it holds.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/hresult.h"

namespace upnp {

// The service object's IDispatch as the device control object keeps it.
class ServiceReference {
 public:
  virtual ~ServiceReference() = default;
};

// A service object just created, before anyone holds an interface of it.
class NewServiceObject {
 public:
  virtual ~NewServiceObject() = default;
  // Queries the object for IDispatch; the result is the object's first reference.
  virtual platform::HResult QueryDispatch(std::unique_ptr<ServiceReference>* reference) = 0;
};

// The device host's registrar, held for the duration of one Initialize.
class DeviceRegistrar {
 public:
  virtual ~DeviceRegistrar() = default;
  virtual platform::HResult GetUniqueDeviceName(std::u16string_view device_id,
                                                std::u16string_view template_udn,
                                                std::u16string* udn) = 0;
};

class DeviceControlEnvironment {
 public:
  virtual ~DeviceControlEnvironment() = default;
  // Creates a service object directly, not through COM activation. A success without an
  // object is possible and reported to the caller as such.
  virtual platform::HResult CreateServiceObject(std::unique_ptr<NewServiceObject>* object) = 0;
  // Creates the device host's registrar (in-process, local or remote server).
  virtual platform::HResult CreateRegistrar(std::unique_ptr<DeviceRegistrar>* registrar) = 0;
};

}  // namespace upnp
