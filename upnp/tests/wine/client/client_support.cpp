#include "client_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace upnp::client {

namespace {

// Each test program runs its tests in one single-threaded apartment.
class ComEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // The test script picks this process's lines out of the debug log by this id.
    std::printf("upnp-client-pid: %lu\n", GetCurrentProcessId());
    std::fflush(stdout);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  }
  void TearDown() override { CoUninitialize(); }
};

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

}  // namespace

std::wstring ModulePath() {
  const wchar_t* path = _wgetenv(L"OV_UPNP_MODULE");
  return path != nullptr ? path : L"";
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& key,
                                       const std::wstring& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t data[1024];
  DWORD size = sizeof data;
  DWORD type = 0;
  const LONG error = RegQueryValueExW(handle, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(handle);
  if (error != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::wstring(data, size / sizeof(wchar_t) - 1);
}

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

namespace {

// The names an enumeration function (RegEnumKeyExW or RegEnumValueW) lists for a key.
template <typename Enumerate>
std::vector<std::wstring> ListNames(const std::wstring& key, Enumerate enumerate) {
  std::vector<std::wstring> names;
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
    return names;
  }
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (enumerate(handle, i, name, &length) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(handle);
  return names;
}

}  // namespace

std::vector<std::wstring> SubKeyNames(const std::wstring& key) {
  return ListNames(key, [](HKEY handle, DWORD i, wchar_t* name, DWORD* length) {
    return RegEnumKeyExW(handle, i, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> ValueNames(const std::wstring& key) {
  return ListNames(key, [](HKEY handle, DWORD i, wchar_t* name, DWORD* length) {
    return RegEnumValueW(handle, i, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

HRESULT CanUnloadNow() {
  HMODULE library = GetModuleHandleW(ModulePath().c_str());
  if (library == nullptr) return E_UNEXPECTED;
  using Function = HRESULT(STDAPICALLTYPE*)();
  const auto function = reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
  return function != nullptr ? function() : E_UNEXPECTED;
}

IUPnPDeviceControl* CreateDeviceControl() {
  IUPnPDeviceControl* control = nullptr;
  CoCreateInstance(CLSID_Omvo, nullptr, CLSCTX_INPROC_SERVER, IID_IUPnPDeviceControl,
                   reinterpret_cast<void**>(&control));
  return control;
}

ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

STDMETHODIMP CountingSubscriber::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || (is_sink_ && IsEqualIID(iid, IID_IUPnPEventSink))) {
    *object = static_cast<IUPnPEventSink*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CountingSubscriber::AddRef() { return ++references_; }

STDMETHODIMP_(ULONG) CountingSubscriber::Release() { return --references_; }

STDMETHODIMP CountingSubscriber::OnStateChanged(DWORD, DISPID*) {
  ++state_changes_;
  return S_OK;
}

STDMETHODIMP CountingSubscriber::OnStateChangedSafe(VARIANT) {
  ++state_changes_;
  return S_OK;
}

STDMETHODIMP CountingOuter::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown)) {
    *object = this;
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace upnp::client
