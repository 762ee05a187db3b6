#include "upnp/win32/omvo_service.h"

#include <utility>
#include <vector>

#include "platform/com_ptr.h"

#include "upnp/core/service_members.h"
#include "upnp/win32/ombrivue_module.h"

namespace upnp::win32 {

namespace {

class ComEventSink final : public EventSinkReference {
 public:
  explicit ComEventSink(platform::ComPtr<IUPnPEventSink> sink) : sink_(std::move(sink)) {}

 private:
  platform::ComPtr<IUPnPEventSink> sink_;
};

class ComSubscriber final : public EventSubscriber {
 public:
  explicit ComSubscriber(IUnknown* subscriber) : subscriber_(subscriber) {}

  platform::HResult QueryEventSink(std::unique_ptr<EventSinkReference>* sink) override {
    if (subscriber_ == nullptr) return E_POINTER;
    platform::ComPtr<IUPnPEventSink> event_sink;
    const HRESULT hr = subscriber_->QueryInterface(IID_IUPnPEventSink, event_sink.put_void());
    if (FAILED(hr)) return hr;
    *sink = std::make_unique<ComEventSink>(std::move(event_sink));
    return S_OK;
  }

 private:
  IUnknown* subscriber_;
};

}  // namespace

COmvoService::COmvoService() : subscription_(Module().debug()) { Module().locks().Lock(); }

// The held sink, if any, goes with the subscription.
COmvoService::~COmvoService() { Module().locks().Unlock(); }

STDMETHODIMP COmvoService::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IUPnPService_ZYNOmvoService_SCPD*>(this);
  } else if (IsEqualIID(iid, IID_IUPnPEventSource)) {
    *object = static_cast<IUPnPEventSource*>(this);
  } else if (IsEqualIID(iid, IID_IUPnPService_ZYNOmvoService_SCPD)) {
    *object = static_cast<IUPnPService_ZYNOmvoService_SCPD*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) COmvoService::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) COmvoService::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP COmvoService::GetTypeInfoCount(UINT* pctinfo) {
  if (pctinfo == nullptr) return E_POINTER;
  *pctinfo = 1;
  return S_OK;
}

STDMETHODIMP COmvoService::GetTypeInfo(UINT /*iTInfo*/, LCID lcid, ITypeInfo** ppTInfo) {
  if (ppTInfo == nullptr) return E_POINTER;
  *ppTInfo = nullptr;
  const ServiceTypeInfo* info = nullptr;
  const HRESULT hr = Module().type_info().Get(lcid, &info, nullptr);
  if (FAILED(hr)) return hr;
  *ppTInfo = ServiceTypeInfo(*info).Detach();
  return S_OK;
}

STDMETHODIMP COmvoService::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* rgszNames, UINT cNames,
                                         LCID lcid, DISPID* rgDispId) {
  const ServiceTypeInfo* info = nullptr;
  const NameTable* names = nullptr;
  const HRESULT hr = Module().type_info().Get(lcid, &info, &names);
  if (FAILED(hr)) return hr;
  if (rgszNames == nullptr || rgDispId == nullptr) return E_POINTER;
  std::vector<std::u16string_view> wanted;
  wanted.reserve(cNames);
  for (UINT i = 0; i < cNames; ++i) {
    if (rgszNames[i] == nullptr) return E_POINTER;
    wanted.emplace_back(reinterpret_cast<const char16_t*>(rgszNames[i]));
  }
  static_assert(sizeof(DISPID) == sizeof(int32_t));
  if (names->LookUp(wanted, {reinterpret_cast<int32_t*>(rgDispId), cNames})) return S_OK;
  return (*info)->GetIDsOfNames(rgszNames, cNames, rgDispId);
}

STDMETHODIMP COmvoService::Invoke(DISPID dispIdMember, REFIID /*riid*/, LCID lcid, WORD wFlags,
                                  DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                  EXCEPINFO* pExcepInfo, UINT* puArgErr) {
  const ServiceTypeInfo* info = nullptr;
  const HRESULT hr = Module().type_info().Get(lcid, &info, nullptr);
  if (FAILED(hr)) return hr;
  return (*info)->Invoke(static_cast<IUPnPService_ZYNOmvoService_SCPD*>(this), dispIdMember, wFlags,
                         pDispParams, pVarResult, pExcepInfo, puArgErr);
}

STDMETHODIMP COmvoService::get_varNull(VARIANT_BOOL* pvarNull) { return ReadVarNull(pvarNull); }

STDMETHODIMP COmvoService::SetNull(VARIANT_BOOL iNull) { return upnp::SetNull(iNull); }

STDMETHODIMP COmvoService::Advise(IUPnPEventSink* pesSubscriber) {
  ComSubscriber subscriber(pesSubscriber);
  return subscription_.Advise(subscriber);
}

STDMETHODIMP COmvoService::Unadvise(IUPnPEventSink* /*pesSubscriber*/) {
  return subscription_.Unadvise();
}

}  // namespace upnp::win32
