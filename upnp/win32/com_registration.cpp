#include "upnp/win32/com_registration.h"

#include <oleauto.h>

#include <optional>

#include "platform/com_ptr.h"
#include "platform/paths.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "upnp/core/registration_script.h"

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

platform::HResult ComRegistration::RunScript(bool register_keys) {
  std::u16string script;
  HRESULT hr = LoadScript(instance_, &script);
  if (FAILED(hr)) return hr;
  const std::u16string module = QuoteForScript(module_path_);
  std::vector<ScriptKey> keys;
  hr = ParseRegistrationScript(script, {{kModuleReplacement, module}}, &keys);
  if (FAILED(hr)) return hr;
  platform::win32::Win32Registry registry;
  return register_keys ? RegisterKeys(keys, registry) : UnregisterKeys(keys, registry);
}

HRESULT ComRegistration::LoadTypeLibrary(ITypeLib** library, std::u16string* path) const {
  HRESULT hr = E_FAIL;
  for (const std::u16string& candidate : TypeLibraryCandidates(module_path_)) {
    *path = candidate;
    hr = LoadTypeLib(platform::win32::ToWide(*path).c_str(), library);
    if (SUCCEEDED(hr)) return hr;
  }
  return hr;
}

platform::HResult ComRegistration::RegisterTypeLibrary() {
  platform::ComPtr<ITypeLib> library;
  std::u16string path;
  const HRESULT hr = LoadTypeLibrary(library.put(), &path);
  if (FAILED(hr)) return hr;
  std::wstring wide_path = platform::win32::ToWide(path);
  std::wstring wide_folder = platform::win32::ToWide(platform::FolderOf(path));
  return RegisterTypeLib(library.get(), wide_path.data(), wide_folder.data());
}

platform::HResult ComRegistration::UnregisterTypeLibrary() {
  platform::ComPtr<ITypeLib> library;
  std::u16string path;
  HRESULT hr = LoadTypeLibrary(library.put(), &path);
  if (FAILED(hr)) return hr;
  TLIBATTR* attributes = nullptr;
  hr = library->GetLibAttr(&attributes);
  if (SUCCEEDED(hr)) {
    // Looked up at run time: not every system has it.
    const auto unregister = reinterpret_cast<UnRegisterTypeLibFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"oleaut32.dll"), "UnRegisterTypeLib")));
    std::optional<platform::HResult> result;
    if (unregister != nullptr) {
      result = unregister(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                          attributes->lcid, attributes->syskind);
    }
    hr = TypeLibraryUnregistrationResult(result);
    library->ReleaseTLibAttr(attributes);
  }
  return hr;
}

}  // namespace upnp::win32
