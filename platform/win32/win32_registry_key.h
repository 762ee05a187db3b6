// A RegistryKey over an open HKEY, closed when the key is destroyed.
#pragma once
#include <windows.h>

#include "platform/registry.h"

namespace platform::win32 {

class Win32RegistryKey : public RegistryKey {
 public:
  // `view_flag` is KEY_WOW64_64KEY, KEY_WOW64_32KEY or 0. A predefined root is not closed.
  Win32RegistryKey(HKEY key, REGSAM view_flag);
  ~Win32RegistryKey() override;
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  WinError CreateSubKey(std::string_view path, uint32_t access, std::unique_ptr<RegistryKey>* key,
                        bool* created) override;
  WinError OpenSubKey(std::string_view path, uint32_t access,
                      std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteSubKey(std::string_view path) override;
  WinError EnumSubKey(uint32_t index, std::string* name) override;

  WinError SetValue(std::string_view name, ValueType type, std::span<const uint8_t> data) override;
  WinError QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                      uint32_t* size) override;
  WinError DeleteValue(std::string_view name) override;

 private:
  HKEY key_;
  REGSAM view_flag_;
};

}  // namespace platform::win32
