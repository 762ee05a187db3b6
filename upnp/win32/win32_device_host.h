// The device control object's environment on COM: the service object it creates and the
// device host's registrar.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include "platform/com_ptr.h"
#include "upnp/core/device_host_ports.h"

namespace upnp::win32 {

// The held IDispatch of a service object.
class DispatchReference final : public ServiceReference {
 public:
  explicit DispatchReference(platform::ComPtr<IDispatch> dispatch)
      : dispatch_(std::move(dispatch)) {}

  IDispatch* get() const { return dispatch_.get(); }

 private:
  platform::ComPtr<IDispatch> dispatch_;
};

class ComDeviceControlEnvironment final : public DeviceControlEnvironment {
 public:
  platform::HResult CreateServiceObject(std::unique_ptr<NewServiceObject>* object) override;
  platform::HResult CreateRegistrar(std::unique_ptr<DeviceRegistrar>* registrar) override;
};

}  // namespace upnp::win32
