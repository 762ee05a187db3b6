#include "type_info_cache.h"

#include <memory>

#include "Ombrivue.h"
#include "com_strings.h"
#include "ombrivue_module.h"

namespace upnp::win32 {

namespace {

ITypeInfo* g_info = nullptr;
std::unique_ptr<NameTable> g_names;

}  // namespace

HRESULT TypeInfoCache::Get(LCID locale, ITypeInfo** info, const NameTable** names) {
  {
    ScopedLock lock(Module().type_info_lock());
    if (g_info == nullptr) {
      const HRESULT hr = Load(locale);
      if (FAILED(hr)) return hr;
    }
  }
  *info = g_info;
  if (names != nullptr) *names = g_names.get();
  return S_OK;
}

HRESULT TypeInfoCache::Load(LCID locale) {
  ITypeLib* library = nullptr;
  HRESULT hr = LoadRegTypeLib(LIBID_OMBRIVUELib, 1, 0, locale, &library);
  if (FAILED(hr)) return hr;
  ITypeInfo* info = nullptr;
  hr = library->GetTypeInfoOfGuid(IID_IUPnPService_ZYNOmvoService_SCPD, &info);
  library->Release();
  if (FAILED(hr)) return hr;
  auto names = std::make_unique<NameTable>();
  hr = BuildNames(info, names.get());
  if (FAILED(hr)) {
    info->Release();
    return hr;
  }
  g_info = info;
  g_names = std::move(names);
  Module().AddTermination([] {
    g_info->Release();
    g_info = nullptr;
    g_names.reset();
  });
  return S_OK;
}

HRESULT TypeInfoCache::BuildNames(ITypeInfo* info, NameTable* names) {
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
    ComString name;
    hr = info->GetDocumentation(id, name.out(), nullptr, nullptr, nullptr);
    if (FAILED(hr)) return hr;
    names->Add(std::u16string(ViewOf(name.get())), id);
  }
  return S_OK;
}

}  // namespace upnp::win32
