#include "com_registration.h"

#include <oleauto.h>

#include "com_strings.h"
#include "upnp/registration_script.h"
#include "win32_script_registry.h"

namespace upnp::win32 {

namespace {

using UnRegisterTypeLibFunction = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);

// The script resource as text; it is plain ASCII.
HRESULT LoadScript(HINSTANCE instance, std::u16string* script) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kRegistrationScriptId), L"REGISTRY");
  if (found == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  HGLOBAL loaded = LoadResource(instance, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  const auto* bytes = static_cast<const unsigned char*>(data);
  script->assign(bytes, bytes + SizeofResource(instance, found));
  return S_OK;
}

}  // namespace

ComRegistration::ComRegistration(HINSTANCE instance, std::u16string module_path)
    : instance_(instance), module_path_(std::move(module_path)) {}

Hresult ComRegistration::RunScript(bool register_keys) {
  std::u16string script;
  HRESULT hr = LoadScript(instance_, &script);
  if (FAILED(hr)) return hr;
  const std::u16string module = QuoteForScript(module_path_);
  std::vector<ScriptKey> keys;
  hr = ParseRegistrationScript(script, {{kModuleReplacement, module}}, &keys);
  if (FAILED(hr)) return hr;
  Win32ScriptRegistry registry;
  return register_keys ? RegisterKeys(keys, registry) : UnregisterKeys(keys, registry);
}

HRESULT ComRegistration::LoadTypeLibrary(ITypeLib** library, std::u16string* path) const {
  *path = module_path_;
  if (SUCCEEDED(LoadTypeLib(WidePointer(*path), library))) return S_OK;
  *path = TypeLibraryFallbackPath(module_path_);
  return LoadTypeLib(WidePointer(*path), library);
}

Hresult ComRegistration::RegisterTypeLibrary() {
  ITypeLib* library = nullptr;
  std::u16string path;
  HRESULT hr = LoadTypeLibrary(&library, &path);
  if (FAILED(hr)) return hr;
  std::u16string folder = FolderOf(path);
  std::wstring wide_path(path.begin(), path.end());
  std::wstring wide_folder(folder.begin(), folder.end());
  hr = RegisterTypeLib(library, wide_path.data(), wide_folder.data());
  library->Release();
  return hr;
}

Hresult ComRegistration::UnregisterTypeLibrary() {
  ITypeLib* library = nullptr;
  std::u16string path;
  HRESULT hr = LoadTypeLibrary(&library, &path);
  if (FAILED(hr)) return hr;
  TLIBATTR* attributes = nullptr;
  hr = library->GetLibAttr(&attributes);
  if (SUCCEEDED(hr)) {
    // Looked up at run time: systems without the function keep the type library registered.
    const auto unregister = reinterpret_cast<UnRegisterTypeLibFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), "UnRegisterTypeLib")));
    if (unregister != nullptr) {
      hr = unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                      attributes->lcid, attributes->syskind);
    }
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return hr;
}

}  // namespace upnp::win32
