// Helpers of the Wine client: COM set-up, registry reading, the library's own exports and
// small COM objects that count their references.
#pragma once
#include <ole2.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Ombrivue.h"
#include "platform/win32/scoped_com_values.h"
#include "upnp_device_host.h"

namespace upnp::client {

// The library's path as registered, from OV_UPNP_MODULE.
std::wstring ModulePath();

// The string data of a value below HKEY_CLASSES_ROOT (or another root); nullopt when the
// key or value is missing.
std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key,
                                       const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& key);
std::vector<std::wstring> SubKeyNames(const std::wstring& key);
std::vector<std::wstring> ValueNames(const std::wstring& key);

// The library's DllCanUnloadNow, from the copy COM loaded.
HRESULT CanUnloadNow();

IUPnPDeviceControl* CreateDeviceControl();

using platform::win32::MakeBstr;

// The reference count an object reports, measured by an AddRef and Release pair.
ULONG References(IUnknown* object);

// An event sink, or with is_sink false an object that is only an IUnknown.
class CountingSubscriber final : public IUPnPEventSink {
 public:
  explicit CountingSubscriber(bool is_sink) : is_sink_(is_sink) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP OnStateChanged(DWORD, DISPID*) override;
  STDMETHODIMP OnStateChangedSafe(VARIANT) override;

  LONG references() const { return references_; }
  int state_changes() const { return state_changes_; }

 private:
  bool is_sink_;
  LONG references_ = 1;  // the test's own
  int state_changes_ = 0;
};

// An outer object for aggregation: counts the references the inner object delegates.
class CountingOuter final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }
  LONG references() const { return references_; }

 private:
  LONG references_ = 1;
};

}  // namespace upnp::client
