// The registry through the advapi32 calls (RegCreateKeyExA or RegCreateKeyExW and their families).
// A registry view becomes KEY_WOW64_64KEY or KEY_WOW64_32KEY on every call made through a key, so
// its subkeys stay in the view it was opened in.
#pragma once
#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
 public:
  WinError CreateKey(RootKey root, std::string_view path, uint32_t access, RegistryView view,
                     std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenKey(RootKey root, std::string_view path, uint32_t access, RegistryView view,
                   std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteKey(RootKey root, std::string_view path, RegistryView view) override;
  WinError CreateKey(RootKey root, std::u16string_view path, uint32_t access, RegistryView view,
                     std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenKey(RootKey root, std::u16string_view path, uint32_t access, RegistryView view,
                   std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteKey(RootKey root, std::u16string_view path, RegistryView view) override;
};

}  // namespace platform::win32
