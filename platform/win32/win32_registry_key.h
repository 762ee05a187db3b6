// A RegistryKey over an open HKEY, closed when the key is destroyed.
#pragma once
#include <windows.h>

#include "platform/registry.h"
#include "platform/win32/scoped_handles.h"

namespace platform::win32 {

class Win32RegistryKey : public RegistryKey {
 public:
  // Subkeys are opened, created and deleted in `view`. A predefined root is not closed.
  Win32RegistryKey(HKEY key, RegistryView view);

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

  WinError CreateSubKey(std::u16string_view path, uint32_t access,
                        std::unique_ptr<RegistryKey>* key, bool* created) override;
  WinError OpenSubKey(std::u16string_view path, uint32_t access,
                      std::unique_ptr<RegistryKey>* key) override;
  WinError DeleteSubKey(std::u16string_view path) override;
  WinError EnumSubKey(uint32_t index, std::u16string* name) override;
  WinError SetValue(std::u16string_view name, ValueType type,
                    std::span<const uint8_t> data) override;
  WinError QueryValue(std::u16string_view name, ValueType* type, uint8_t* data,
                      uint32_t* size) override;
  WinError DeleteValue(std::u16string_view name) override;

 private:
  template <typename Api>
  WinError Create(typename Api::View path, uint32_t access, std::unique_ptr<RegistryKey>* key,
                  bool* created);
  template <typename Api>
  WinError Open(typename Api::View path, uint32_t access, std::unique_ptr<RegistryKey>* key);
  template <typename Api>
  WinError Delete(typename Api::View path);
  template <typename Api>
  WinError Enum(uint32_t index, typename Api::Text* name);
  template <typename Api>
  WinError Set(typename Api::View name, ValueType type, std::span<const uint8_t> data);
  template <typename Api>
  WinError Query(typename Api::View name, ValueType* type, uint8_t* data, uint32_t* size);

  ScopedRegistryKey key_;
  RegistryView view_;
  REGSAM view_flag_;  // KEY_WOW64_64KEY, KEY_WOW64_32KEY or 0, the flag of view_
};

}  // namespace platform::win32
