#include "win32_script_registry.h"

#include <windows.h>

namespace upnp::win32 {

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

Hresult FromWin32(LONG error) { return HRESULT_FROM_WIN32(static_cast<DWORD>(error)); }

// Closes the key at the end of its scope.
class OpenKey {
 public:
  OpenKey(std::u16string_view path, REGSAM access) {
    error_ = RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(path).c_str(), 0, access, &key_);
  }
  ~OpenKey() {
    if (error_ == ERROR_SUCCESS) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  LONG error() const { return error_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  LONG error_;
};

}  // namespace

Hresult Win32ScriptRegistry::CreateKey(std::u16string_view path) {
  HKEY key = nullptr;
  const LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, Wide(path).c_str(), 0, nullptr, 0,
                                     KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) return FromWin32(error);
  RegCloseKey(key);
  return S_OK;
}

Hresult Win32ScriptRegistry::SetString(std::u16string_view path, std::u16string_view name,
                                       std::u16string_view value) {
  OpenKey key(path, KEY_SET_VALUE);
  if (key.error() != ERROR_SUCCESS) return FromWin32(key.error());
  const std::wstring data = Wide(value);
  const LONG error = RegSetValueExW(key.get(), name.empty() ? nullptr : Wide(name).c_str(), 0,
                                    REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  return FromWin32(error);
}

Hresult Win32ScriptRegistry::SubKeys(std::u16string_view path, std::vector<std::u16string>* names) {
  OpenKey key(path, KEY_READ);
  if (key.error() != ERROR_SUCCESS) return FromWin32(key.error());
  names->clear();
  // Key names are at most 255 characters.
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(name));
    const LONG error =
        RegEnumKeyExW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) return S_OK;
    if (error != ERROR_SUCCESS) return FromWin32(error);
    names->emplace_back(name, name + length);
  }
}

Hresult Win32ScriptRegistry::DeleteKey(std::u16string_view path) {
  return FromWin32(RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(path).c_str()));
}

}  // namespace upnp::win32
