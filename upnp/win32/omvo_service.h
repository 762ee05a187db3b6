// COmvoService, the root device's one service: the dispatch interface the device host reads
// and calls by name, and the event source it subscribes to.
#pragma once
#include <windows.h>

#include "Ombrivue.h"
#include "upnp/core/event_subscription.h"
#include "upnp_device_host.h"

namespace upnp::win32 {

class COmvoService final : public IUPnPService_ZYNOmvoService_SCPD, public IUPnPEventSource {
 public:
  // Starts with no reference; the creator takes the first.
  COmvoService();

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
  STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                             DISPID* rgDispId) override;
  STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                      DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                      UINT* puArgErr) override;

  STDMETHODIMP get_varNull(VARIANT_BOOL* pvarNull) override;
  STDMETHODIMP SetNull(VARIANT_BOOL iNull) override;

  STDMETHODIMP Advise(IUPnPEventSink* pesSubscriber) override;
  STDMETHODIMP Unadvise(IUPnPEventSink* pesSubscriber) override;

 private:
  ~COmvoService();

  ULONG references_ = 0;
  EventSubscription subscription_;
};

}  // namespace upnp::win32
