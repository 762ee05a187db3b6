#include "panel/win32/win32_wmi_service_query.h"

#include <objbase.h>
#include <wbemidl.h>
#include <windows.h>

#include <string>

#include "platform/com_ptr.h"
#include "platform/win32/scoped_com_values.h"
#include "platform/win32/win32_system_code_page.h"

namespace panel::win32 {
namespace {

using platform::ComPtr;
using platform::win32::BstrView;
using platform::win32::ScopedBstr;
using platform::win32::ScopedVariant;
using platform::win32::Win32SystemCodePage;

constexpr LONG kNextObjectWaitMs = 10000;

// RPC_E_TOO_LATE: security was already set for this process, which is fine.
constexpr HRESULT kSecurityAlreadySet = static_cast<HRESULT>(0x80010119);

struct ComApartment {
  HRESULT result = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ~ComApartment() {
    if (SUCCEEDED(result)) ::CoUninitialize();
  }
};

ScopedBstr MakeBstr(const std::string& text) {
  return platform::win32::MakeBstr(Win32SystemCodePage().ToUtf16(text));
}

// "State" as 8-bit text; empty when unreadable or null.
std::string ReadState(IWbemClassObject& object) {
  ScopedVariant value;
  if (FAILED(object.Get(L"State", 0, &value, nullptr, nullptr))) return {};
  if (value.vt == VT_NULL || value.vt == VT_EMPTY) return {};
  if (value.vt != VT_BSTR && FAILED(::VariantChangeType(&value, &value, 0, VT_BSTR))) return {};
  return Win32SystemCodePage().FromUtf16(BstrView(value.bstrVal));
}

}  // namespace

std::optional<std::vector<std::string>> Win32WmiServiceQuery::QueryStates(const std::string& wql) {
  ComApartment apartment;
  if (FAILED(apartment.result)) return std::nullopt;
  HRESULT hr = ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  if (FAILED(hr) && hr != kSecurityAlreadySet) return std::nullopt;
  ComPtr<IWbemLocator> locator;
  if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                locator.put_void()))) {
    return std::nullopt;
  }
  ComPtr<IWbemServices> services;
  const ScopedBstr ns = platform::win32::MakeBstr(L"ROOT\\CIMV2");
  if (FAILED(locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                    services.put()))) {
    return std::nullopt;
  }
  if (FAILED(::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                 EOAC_NONE))) {
    return std::nullopt;
  }
  ComPtr<IEnumWbemClassObject> objects;
  const ScopedBstr language = platform::win32::MakeBstr(L"WQL");
  const ScopedBstr query = MakeBstr(wql);
  if (FAILED(services->ExecQuery(language.get(), query.get(),
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 objects.put()))) {
    return std::nullopt;
  }
  std::vector<std::string> states;
  for (;;) {
    ComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    // A WMI that never answers must not keep the panel from starting: after the bound the
    // service counts as not running.
    objects->Next(kNextObjectWaitMs, 1, object.put(), &returned);
    if (returned == 0) break;
    states.push_back(ReadState(*object));
  }
  return states;
}

}  // namespace panel::win32
