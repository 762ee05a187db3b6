#include "upnp/win32/omvo_class_factory.h"

#include <new>

#include "upnp/win32/ombrivue_module.h"
#include "upnp/win32/omvo_dco.h"

namespace upnp::win32 {

HRESULT COmvoClassFactory::Create(IClassFactory** factory) {
  *factory = new (std::nothrow) COmvoClassFactory;
  return *factory == nullptr ? E_OUTOFMEMORY : S_OK;
}

STDMETHODIMP COmvoClassFactory::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COmvoClassFactory::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) COmvoClassFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP COmvoClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return COmvoDCO::Create(outer, iid, object);
}

STDMETHODIMP COmvoClassFactory::LockServer(BOOL lock) {
  if (lock) {
    Module().locks().Lock();
  } else {
    Module().locks().Unlock();
  }
  return S_OK;
}

}  // namespace upnp::win32
