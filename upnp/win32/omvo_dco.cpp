#include "upnp/win32/omvo_dco.h"

#include <new>

#include "platform/win32/scoped_com_values.h"
#include "upnp/win32/ombrivue_module.h"

namespace upnp::win32 {

HRESULT COmvoDCO::Create(IUnknown* outer, REFIID iid, void** object) {
  COmvoDCO* dco = new (std::nothrow) COmvoDCO(outer);
  if (dco == nullptr) return E_OUTOFMEMORY;
  // The temporary reference frees the object when the query fails.
  dco->inner_.AddRef();
  const HRESULT hr = dco->inner_.QueryInterface(iid, object);
  dco->inner_.Release();
  return hr;
}

COmvoDCO::COmvoDCO(IUnknown* outer)
    : inner_(*this),
      controlling_(outer != nullptr ? outer : &inner_),
      control_(environment_, Module().debug()) {
  Module().locks().Lock();
}

COmvoDCO::~COmvoDCO() { Module().locks().Unlock(); }

STDMETHODIMP COmvoDCO::Inner::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown)) {
    *object = static_cast<IUnknown*>(this);
  } else if (IsEqualIID(iid, IID_IUPnPDeviceControl)) {
    *object = static_cast<IUPnPDeviceControl*>(&owner_);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  static_cast<IUnknown*>(*object)->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) COmvoDCO::Inner::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) COmvoDCO::Inner::Release() {
  const ULONG left = --references_;
  if (left == 0) delete &owner_;
  return left;
}

STDMETHODIMP COmvoDCO::QueryInterface(REFIID iid, void** object) {
  return controlling_->QueryInterface(iid, object);
}

STDMETHODIMP_(ULONG) COmvoDCO::AddRef() { return controlling_->AddRef(); }

STDMETHODIMP_(ULONG) COmvoDCO::Release() { return controlling_->Release(); }

STDMETHODIMP COmvoDCO::Initialize(BSTR bstrXMLDesc, BSTR bstrDeviceIdentifier,
                                  BSTR /*bstrInitString*/) {
  return control_.Initialize(reinterpret_cast<const char16_t*>(bstrXMLDesc),
                             platform::win32::BstrView(bstrDeviceIdentifier));
}

STDMETHODIMP COmvoDCO::GetServiceObject(BSTR bstrUDN, BSTR bstrServiceId,
                                        IDispatch** ppdispService) {
  const ServiceReference* service = nullptr;
  const HRESULT hr = control_.GetServiceObject(platform::win32::BstrView(bstrUDN),
                                               platform::win32::BstrView(bstrServiceId),
                                               ppdispService != nullptr ? &service : nullptr);
  if (FAILED(hr)) {
    if (ppdispService != nullptr) *ppdispService = nullptr;
    return hr;
  }
  IDispatch* dispatch = static_cast<const DispatchReference*>(service)->get();
  dispatch->AddRef();
  *ppdispService = dispatch;
  return S_OK;
}

}  // namespace upnp::win32
