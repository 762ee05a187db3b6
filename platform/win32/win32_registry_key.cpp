#include "win32_registry_key.h"

#include <string>
#include <vector>

namespace platform::win32 {

namespace {

using DeleteKeyExA = LONG(WINAPI*)(HKEY, LPCSTR, REGSAM, DWORD);

// RegDeleteKeyExA is missing from 32-bit Windows XP, which has no views to choose from.
DeleteKeyExA FindDeleteKeyEx() {
  const HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
  if (advapi == nullptr) return nullptr;
  return reinterpret_cast<DeleteKeyExA>(
      reinterpret_cast<void*>(GetProcAddress(advapi, "RegDeleteKeyExA")));
}

bool IsPredefined(HKEY key) { return reinterpret_cast<ULONG_PTR>(key) >= 0x80000000u; }

}  // namespace

Win32RegistryKey::Win32RegistryKey(HKEY key, REGSAM view_flag) : key_(key), view_flag_(view_flag) {}

Win32RegistryKey::~Win32RegistryKey() {
  if (!IsPredefined(key_)) RegCloseKey(key_);
}

WinError Win32RegistryKey::CreateSubKey(std::string_view path, uint32_t access,
                                        std::unique_ptr<RegistryKey>* key, bool* created) {
  const std::string sub(path);
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LONG error = RegCreateKeyExA(key_, sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     access | view_flag_, nullptr, &opened, &disposition);
  if (error != ERROR_SUCCESS) return static_cast<WinError>(error);
  *key = std::make_unique<Win32RegistryKey>(opened, view_flag_);
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return kErrorSuccess;
}

WinError Win32RegistryKey::OpenSubKey(std::string_view path, uint32_t access,
                                      std::unique_ptr<RegistryKey>* key) {
  const std::string sub(path);
  HKEY opened = nullptr;
  const LONG error = RegOpenKeyExA(key_, sub.c_str(), 0, access | view_flag_, &opened);
  if (error != ERROR_SUCCESS) return static_cast<WinError>(error);
  *key = std::make_unique<Win32RegistryKey>(opened, view_flag_);
  return kErrorSuccess;
}

WinError Win32RegistryKey::DeleteSubKey(std::string_view path) {
  const std::string sub(path);
  static const DeleteKeyExA delete_key_ex = FindDeleteKeyEx();
  if (view_flag_ != 0 && delete_key_ex != nullptr) {
    return static_cast<WinError>(delete_key_ex(key_, sub.c_str(), view_flag_, 0));
  }
  return static_cast<WinError>(RegDeleteKeyA(key_, sub.c_str()));
}

WinError Win32RegistryKey::EnumSubKey(uint32_t index, std::string* name) {
  // Key names are at most 255 characters on Windows; Wine accepts longer ones.
  std::vector<char> buffer(256);
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LONG error =
        RegEnumKeyExA(key_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_MORE_DATA && buffer.size() < 65536) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (error != ERROR_SUCCESS) return static_cast<WinError>(error);
    name->assign(buffer.data(), length);
    return kErrorSuccess;
  }
}

WinError Win32RegistryKey::SetValue(std::string_view name, ValueType type,
                                    std::span<const uint8_t> data) {
  const std::string value_name(name);
  // RegSetValueExA takes a NUL just past string data as its terminator, reading beyond the
  // given size; a non-NUL byte there keeps the stored bytes exactly those given.
  std::vector<uint8_t> bytes(data.begin(), data.end());
  bytes.push_back(0xFF);
  return static_cast<WinError>(RegSetValueExA(key_, value_name.c_str(), 0, static_cast<DWORD>(type),
                                              bytes.data(), static_cast<DWORD>(data.size())));
}

WinError Win32RegistryKey::QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                                      uint32_t* size) {
  const std::string value_name(name);
  DWORD value_type = 0;
  DWORD value_size = size != nullptr ? *size : 0;
  const LONG error = RegQueryValueExA(key_, value_name.c_str(), nullptr, &value_type, data,
                                      size != nullptr ? &value_size : nullptr);
  if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    if (type != nullptr) *type = static_cast<ValueType>(value_type);
    if (size != nullptr) *size = value_size;
  }
  return static_cast<WinError>(error);
}

WinError Win32RegistryKey::DeleteValue(std::string_view name) {
  const std::string value_name(name);
  return static_cast<WinError>(RegDeleteValueA(key_, value_name.c_str()));
}

}  // namespace platform::win32
