// The class factory of COmvoDCO.
#pragma once
#include <unknwn.h>
#include <windows.h>

namespace upnp::win32 {

class COmvoClassFactory final : public IClassFactory {
 public:
  static HRESULT Create(IClassFactory** factory);

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // An aggregated instance is only handed out as its inner IUnknown.
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  COmvoClassFactory() = default;
  ~COmvoClassFactory() = default;

  LONG references_ = 1;
};

}  // namespace upnp::win32
