// A stand-in for the device host's registrar, registered under CLSID_UPnPRegistrar in the
// test prefix. GetUniqueDeviceName hands out a fresh "uuid:" name and records its arguments
// and answer under HKCU\Software\OvTest\UPnPRegistrar for the client to check; the device
// identifier "fail" makes it fail.
#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <string>

#include "upnp_device_host.h"

namespace {

HINSTANCE g_instance = nullptr;
const wchar_t kRecordKey[] = L"Software\\OvTest\\UPnPRegistrar";
const wchar_t kClassKey[] = L"CLSID\\{204810B9-73B2-11D4-BF42-00B0D0118B56}";

void Record(const wchar_t* name, const wchar_t* value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring data = value != nullptr ? value : L"";
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

template <class Interface>
class Unknown : public Interface {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(Interface))) {
      *object = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }
  virtual ~Unknown() = default;

 private:
  LONG references_ = 1;
};

class TestRegistrar final : public Unknown<IUPnPRegistrar> {
 public:
  STDMETHODIMP RegisterDevice(BSTR, BSTR, BSTR, BSTR, BSTR, long, BSTR*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP RegisterRunningDevice(BSTR, IUnknown*, BSTR, BSTR, long, BSTR*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP RegisterDeviceProvider(BSTR, BSTR, BSTR, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP UnregisterDevice(BSTR, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP UnregisterDeviceProvider(BSTR) override { return E_NOTIMPL; }

  STDMETHODIMP GetUniqueDeviceName(BSTR id, BSTR template_udn, BSTR* udn) override {
    Record(L"DeviceId", id);
    Record(L"TemplateUdn", template_udn);
    if (id != nullptr && lstrcmpW(id, L"fail") == 0) return E_UNEXPECTED;
    GUID guid;
    CoCreateGuid(&guid);
    wchar_t text[64];
    const int length = StringFromGUID2(guid, text, 64);
    // "{...}" becomes "uuid:..." without the braces.
    std::wstring name = L"uuid:" + std::wstring(text + 1, text + length - 2);
    Record(L"Udn", name.c_str());
    *udn = SysAllocString(name.c_str());
    return *udn != nullptr ? S_OK : E_OUTOFMEMORY;
  }
};

class Factory final : public Unknown<IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    TestRegistrar* registrar = new TestRegistrar;
    const HRESULT hr = registrar->QueryInterface(iid, object);
    registrar->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_UPnPRegistrar)) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = new Factory;
  const HRESULT hr = factory->QueryInterface(iid, object);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(g_instance, path, MAX_PATH);
  HKEY key = nullptr;
  const std::wstring server = std::wstring(kClassKey) + L"\\InprocServer32";
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, server.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return SELFREG_E_CLASS;
  }
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                 static_cast<DWORD>((lstrlenW(path) + 1) * sizeof(wchar_t)));
  const wchar_t model[] = L"Apartment";
  RegSetValueExW(key, L"ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model),
                 sizeof model);
  RegCloseKey(key);
  return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
  return S_OK;
}
