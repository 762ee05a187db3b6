// A stand-in for the system's audio policy configuration object, for Wine, which has none.
// It registers under the class ids of both variants and serves each variant's method-table
// layout: the set-default method at index 12 (6.0 variant) or 13 (6.1 variant); every other
// slot answers E_NOTIMPL and says so. Each call is written to the debugger output, and a
// console or multimedia default becomes the render default of Wine's ALSA driver (the value
// its device enumerator reads), so the change shows to every program in the prefix.
#include <windows.h>
// COM needs windows.h first.
#include <objbase.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <string>

namespace {

constexpr CLSID kVistaClass{
    0x294935CE, 0xF637, 0x4E7C, {0xA4, 0x1B, 0xAB, 0x25, 0x54, 0x60, 0xB8, 0x62}};
constexpr IID kVistaInterface{
    0x568B9108, 0x44BF, 0x40B4, {0x90, 0x06, 0x86, 0xAF, 0xE5, 0xB5, 0xA6, 0x20}};
constexpr CLSID kWindows7Class{
    0x870AF99C, 0x171D, 0x4F9E, {0xAF, 0x0D, 0xE6, 0x3D, 0xF4, 0x0C, 0x2B, 0xC9}};
constexpr IID kWindows7Interface{
    0xF8679F50, 0x850A, 0x41CF, {0x9C, 0x72, 0x43, 0x0F, 0x29, 0x02, 0x90, 0xC8}};

constexpr wchar_t kWineDriverKey[] = L"Software\\Wine\\Drivers\\winealsa.drv";

HMODULE g_module = nullptr;
std::atomic<long> g_objects{0};

void Log(const std::string& line) { OutputDebugStringA(("policy stand-in: " + line).c_str()); }

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) {
    narrow.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
  }
  return narrow;
}

struct Variant {
  const char* name;
  CLSID class_id;
  IID interface_id;
  int set_default_method;
};
constexpr Variant kVista{"6.0", kVistaClass, kVistaInterface, 12};
constexpr Variant kWindows7{"6.1", kWindows7Class, kWindows7Interface, 13};

// The object: a method table of 14 slots, as the interfaces' callers index it.
struct PolicyObject {
  void* const* method_table;
  std::atomic<long> references;
  const Variant* variant;
};

HRESULT STDMETHODCALLTYPE ObjectQueryInterface(PolicyObject* self, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, self->variant->interface_id)) {
    ++self->references;
    *out = self;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ObjectAddRef(PolicyObject* self) { return ++self->references; }

ULONG STDMETHODCALLTYPE ObjectRelease(PolicyObject* self) {
  const long left = --self->references;
  if (left == 0) {
    delete self;
    --g_objects;
  }
  return left;
}

HRESULT SetDefaultEndpoint(PolicyObject* self, int method, const wchar_t* id, int role) {
  char line[512];
  std::snprintf(line, sizeof line, "variant %s method %d SetDefaultEndpoint(\"%s\", %d)",
                self->variant->name, method, Narrow(id).c_str(), role);
  Log(line);
  if (method != self->variant->set_default_method) return E_NOTIMPL;
  if (id == nullptr) return E_POINTER;
  // Wine keeps one render default for the console and multimedia roles, one for voice.
  const wchar_t* value = role == 2 ? L"DefaultVoiceOutput" : L"DefaultOutput";
  const auto bytes = static_cast<DWORD>((wcslen(id) + 1) * sizeof(wchar_t));
  const LSTATUS status =
      RegSetKeyValueW(HKEY_CURRENT_USER, kWineDriverKey, value, REG_SZ, id, bytes);
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

// Slots 3 to 13; slot n answers as method n.
template <int kMethod>
HRESULT STDMETHODCALLTYPE Slot(PolicyObject* self, const wchar_t* id, int role) {
  if (kMethod == 12 || kMethod == 13) return SetDefaultEndpoint(self, kMethod, id, role);
  Log("method " + std::to_string(kMethod) + " is not served");
  return E_NOTIMPL;
}

const std::array<void*, 14> kMethodTable{reinterpret_cast<void*>(ObjectQueryInterface),
                                         reinterpret_cast<void*>(ObjectAddRef),
                                         reinterpret_cast<void*>(ObjectRelease),
                                         reinterpret_cast<void*>(Slot<3>),
                                         reinterpret_cast<void*>(Slot<4>),
                                         reinterpret_cast<void*>(Slot<5>),
                                         reinterpret_cast<void*>(Slot<6>),
                                         reinterpret_cast<void*>(Slot<7>),
                                         reinterpret_cast<void*>(Slot<8>),
                                         reinterpret_cast<void*>(Slot<9>),
                                         reinterpret_cast<void*>(Slot<10>),
                                         reinterpret_cast<void*>(Slot<11>),
                                         reinterpret_cast<void*>(Slot<12>),
                                         reinterpret_cast<void*>(Slot<13>)};

// One class factory per variant; static, so never freed.
class Factory : public IClassFactory {
 public:
  explicit constexpr Factory(const Variant& variant) : variant_(variant) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* object = new PolicyObject{kMethodTable.data(), 1, &variant_};
    ++g_objects;
    const HRESULT hr = ObjectQueryInterface(object, iid, out);
    ObjectRelease(object);
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  const Variant& variant_;
};

Factory g_vista_factory(kVista);
Factory g_windows7_factory(kWindows7);

std::wstring ClassKey(const CLSID& class_id) {
  std::array<wchar_t, 40> text{};
  StringFromGUID2(class_id, text.data(), static_cast<int>(text.size()));
  return std::wstring(L"CLSID\\") + text.data();
}

HRESULT Register(const CLSID& class_id) {
  std::array<wchar_t, MAX_PATH> path{};
  GetModuleFileNameW(g_module, path.data(), MAX_PATH);
  const std::wstring server = ClassKey(class_id) + L"\\InprocServer32";
  const auto path_bytes = static_cast<DWORD>((wcslen(path.data()) + 1) * sizeof(wchar_t));
  static constexpr wchar_t kBoth[] = L"Both";
  LSTATUS status =
      RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), nullptr, REG_SZ, path.data(), path_bytes);
  if (status == ERROR_SUCCESS) {
    status = RegSetKeyValueW(HKEY_CLASSES_ROOT, server.c_str(), L"ThreadingModel", REG_SZ, kBoth,
                             sizeof kBoth);
  }
  return HRESULT_FROM_WIN32(status);
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = instance;
  return TRUE;
}

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID class_id, REFIID iid, void** out) {
  Factory* factory = nullptr;
  if (IsEqualCLSID(class_id, kVistaClass)) factory = &g_vista_factory;
  if (IsEqualCLSID(class_id, kWindows7Class)) factory = &g_windows7_factory;
  if (factory == nullptr) return CLASS_E_CLASSNOTAVAILABLE;
  return factory->QueryInterface(iid, out);
}

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

HRESULT STDAPICALLTYPE DllRegisterServer() {
  const HRESULT hr = Register(kVistaClass);
  return FAILED(hr) ? hr : Register(kWindows7Class);
}

HRESULT STDAPICALLTYPE DllUnregisterServer() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(kVistaClass).c_str());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey(kWindows7Class).c_str());
  return S_OK;
}

}  // extern "C"
