// COmvoDCO, the device control object the device host creates: IUnknown and
// IUPnPDeviceControl, aggregatable.
#pragma once
#include <windows.h>

#include "upnp/core/device_control.h"
#include "upnp/win32/win32_device_host.h"
#include "upnp_device_host.h"

namespace upnp::win32 {

class COmvoDCO final : public IUPnPDeviceControl {
 public:
  // With an outer object, *object receives the inner (non-delegating) IUnknown.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** object);

  // Delegates to the outer object when aggregated.
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP Initialize(BSTR bstrXMLDesc, BSTR bstrDeviceIdentifier,
                          BSTR bstrInitString) override;
  STDMETHODIMP GetServiceObject(BSTR bstrUDN, BSTR bstrServiceId,
                                IDispatch** ppdispService) override;

 private:
  // The object's own IUnknown, which owns the reference count.
  class Inner final : public IUnknown {
   public:
    explicit Inner(COmvoDCO& owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    COmvoDCO& owner_;
    ULONG references_ = 0;
  };

  explicit COmvoDCO(IUnknown* outer);
  ~COmvoDCO();

  Inner inner_;
  IUnknown* controlling_;
  ComDeviceControlEnvironment environment_;
  DeviceControl control_;
};

}  // namespace upnp::win32
