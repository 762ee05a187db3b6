// The device control object's environment on COM: the service object it creates and the
// device host's registrar.
#pragma once
#include <oaidl.h>
#include <windows.h>

#include "upnp/device_host_ports.h"

namespace upnp::win32 {

// The held IDispatch of a service object.
class DispatchReference final : public ServiceReference {
 public:
  explicit DispatchReference(IDispatch* dispatch) : dispatch_(dispatch) {}
  ~DispatchReference() override { dispatch_->Release(); }
  DispatchReference(const DispatchReference&) = delete;
  DispatchReference& operator=(const DispatchReference&) = delete;

  IDispatch* get() const { return dispatch_; }

 private:
  IDispatch* dispatch_;
};

class ComDeviceControlEnvironment final : public DeviceControlEnvironment {
 public:
  Hresult CreateServiceObject(std::unique_ptr<NewServiceObject>* object) override;
  Hresult CreateRegistrar(std::unique_ptr<DeviceRegistrar>* registrar) override;
};

}  // namespace upnp::win32
