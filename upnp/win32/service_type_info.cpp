#include "upnp/win32/service_type_info.h"

#include "Ombrivue.h"
#include "platform/win32/scoped_com_values.h"

namespace upnp::win32 {

namespace {

HRESULT BuildNames(ITypeInfo* info, NameTable* names) {
  TYPEATTR* attributes = nullptr;
  HRESULT hr = info->GetTypeAttr(&attributes);
  if (FAILED(hr)) return hr;
  const UINT functions = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  for (UINT i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    hr = info->GetFuncDesc(i, &function);
    if (FAILED(hr)) return hr;
    const MEMBERID id = function->memid;
    info->ReleaseFuncDesc(function);
    platform::win32::ScopedBstr name;
    hr = info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    names->Add(std::u16string(platform::win32::BstrView(name.get())), id);
  }
  return S_OK;
}

}  // namespace

HRESULT LoadServiceTypeInfo(uint32_t locale, ServiceTypeInfo* info, NameTable* names) {
  platform::ComPtr<ITypeLib> library;
  HRESULT hr = LoadRegTypeLib(LIBID_OMBRIVUELib, 1, 0, locale, library.put());
  if (FAILED(hr)) return hr;
  hr = library->GetTypeInfoOfGuid(IID_IUPnPService_ZYNOmvoService_SCPD, info->put());
  if (FAILED(hr)) return hr;
  return BuildNames(info->get(), names);
}

}  // namespace upnp::win32
