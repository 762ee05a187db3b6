#include "win32_registry_key.h"

#include <vector>

#include "platform/growing_buffer.h"
#include "win32_registry_api.h"

namespace platform::win32 {

namespace {

template <typename Api>
using DeleteKeyEx = LONG(WINAPI*)(HKEY, const typename Api::Char*, REGSAM, DWORD);

// RegDeleteKeyEx is missing from 32-bit Windows XP, which has no views to choose from.
template <typename Api>
DeleteKeyEx<Api> FindDeleteKeyEx() {
  const HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
  if (advapi == nullptr) return nullptr;
  return reinterpret_cast<DeleteKeyEx<Api>>(
      reinterpret_cast<void*>(GetProcAddress(advapi, Api::kDeleteKeyEx)));
}

REGSAM ViewFlag(RegistryView view) {
  switch (view) {
    case RegistryView::k64Bit:
      return KEY_WOW64_64KEY;
    case RegistryView::k32Bit:
      return KEY_WOW64_32KEY;
    case RegistryView::kDefault:
      break;
  }
  return 0;
}

// Key names are at most 255 characters on Windows; Wine accepts longer ones.
constexpr size_t kKeyNameChars = 256;
constexpr uint32_t kLongestKeyName = 65536;

}  // namespace

Win32RegistryKey::Win32RegistryKey(HKEY key, RegistryView view)
    : key_(key), view_(view), view_flag_(ViewFlag(view)) {}

template <typename Api>
WinError Win32RegistryKey::Create(typename Api::View path, uint32_t access,
                                  std::unique_ptr<RegistryKey>* key, bool* created) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LONG error = Api::Create(key_.get(), Api::Terminated(path).c_str(), access | view_flag_,
                                 &opened, &disposition);
  if (error != ERROR_SUCCESS) return static_cast<WinError>(error);
  *key = std::make_unique<Win32RegistryKey>(opened, view_);
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return kErrorSuccess;
}

template <typename Api>
WinError Win32RegistryKey::Open(typename Api::View path, uint32_t access,
                                std::unique_ptr<RegistryKey>* key) {
  HKEY opened = nullptr;
  const LONG error =
      Api::Open(key_.get(), Api::Terminated(path).c_str(), access | view_flag_, &opened);
  if (error != ERROR_SUCCESS) return static_cast<WinError>(error);
  *key = std::make_unique<Win32RegistryKey>(opened, view_);
  return kErrorSuccess;
}

template <typename Api>
WinError Win32RegistryKey::Delete(typename Api::View path) {
  const auto sub = Api::Terminated(path);
  static const DeleteKeyEx<Api> delete_key_ex = FindDeleteKeyEx<Api>();
  if (ChooseKeyDeletionCall(view_, delete_key_ex != nullptr) == KeyDeletionCall::kWithView) {
    return static_cast<WinError>(delete_key_ex(key_.get(), sub.c_str(), view_flag_, 0));
  }
  return static_cast<WinError>(Api::Delete(key_.get(), sub.c_str()));
}

template <typename Api>
WinError Win32RegistryKey::Enum(uint32_t index, typename Api::Text* name) {
  std::vector<typename Api::Char> buffer(kKeyNameChars);
  const WinError error = QueryWithGrowingBuffer(
      &buffer,
      [&](typename Api::Char* data, uint32_t* size) {
        DWORD length = *size;
        const LONG result = Api::Enum(key_.get(), index, data, &length);
        *size = length;
        return static_cast<WinError>(result);
      },
      kLongestKeyName);
  if (error != kErrorSuccess) return error;
  *name = Api::FromApi(buffer.data(), buffer.size());
  return kErrorSuccess;
}

template <typename Api>
WinError Win32RegistryKey::Set(typename Api::View name, ValueType type,
                               std::span<const uint8_t> data) {
  // RegSetValueEx takes a NUL just past string data as its terminator, reading beyond the given
  // size; non-NUL bytes there keep the stored bytes exactly those given.
  std::vector<uint8_t> bytes(data.begin(), data.end());
  bytes.insert(bytes.end(), sizeof(typename Api::Char), 0xFF);
  return static_cast<WinError>(Api::Set(key_.get(), Api::Terminated(name).c_str(),
                                        static_cast<DWORD>(type), bytes.data(),
                                        static_cast<DWORD>(data.size())));
}

template <typename Api>
WinError Win32RegistryKey::Query(typename Api::View name, ValueType* type, uint8_t* data,
                                 uint32_t* size) {
  DWORD value_type = 0;
  DWORD value_size = size != nullptr ? *size : 0;
  const LONG error = Api::Query(key_.get(), Api::Terminated(name).c_str(), &value_type, data,
                                size != nullptr ? &value_size : nullptr);
  if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    if (type != nullptr) *type = static_cast<ValueType>(value_type);
    if (size != nullptr) *size = value_size;
  }
  return static_cast<WinError>(error);
}

WinError Win32RegistryKey::CreateSubKey(std::string_view path, uint32_t access,
                                        std::unique_ptr<RegistryKey>* key, bool* created) {
  return Create<NarrowRegistryApi>(path, access, key, created);
}
WinError Win32RegistryKey::OpenSubKey(std::string_view path, uint32_t access,
                                      std::unique_ptr<RegistryKey>* key) {
  return Open<NarrowRegistryApi>(path, access, key);
}
WinError Win32RegistryKey::DeleteSubKey(std::string_view path) {
  return Delete<NarrowRegistryApi>(path);
}
WinError Win32RegistryKey::EnumSubKey(uint32_t index, std::string* name) {
  return Enum<NarrowRegistryApi>(index, name);
}
WinError Win32RegistryKey::SetValue(std::string_view name, ValueType type,
                                    std::span<const uint8_t> data) {
  return Set<NarrowRegistryApi>(name, type, data);
}
WinError Win32RegistryKey::QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                                      uint32_t* size) {
  return Query<NarrowRegistryApi>(name, type, data, size);
}
WinError Win32RegistryKey::DeleteValue(std::string_view name) {
  return static_cast<WinError>(
      NarrowRegistryApi::DeleteValue(key_.get(), std::string(name).c_str()));
}

WinError Win32RegistryKey::CreateSubKey(std::u16string_view path, uint32_t access,
                                        std::unique_ptr<RegistryKey>* key, bool* created) {
  return Create<WideRegistryApi>(path, access, key, created);
}
WinError Win32RegistryKey::OpenSubKey(std::u16string_view path, uint32_t access,
                                      std::unique_ptr<RegistryKey>* key) {
  return Open<WideRegistryApi>(path, access, key);
}
WinError Win32RegistryKey::DeleteSubKey(std::u16string_view path) {
  return Delete<WideRegistryApi>(path);
}
WinError Win32RegistryKey::EnumSubKey(uint32_t index, std::u16string* name) {
  return Enum<WideRegistryApi>(index, name);
}
WinError Win32RegistryKey::SetValue(std::u16string_view name, ValueType type,
                                    std::span<const uint8_t> data) {
  return Set<WideRegistryApi>(name, type, data);
}
WinError Win32RegistryKey::QueryValue(std::u16string_view name, ValueType* type, uint8_t* data,
                                      uint32_t* size) {
  return Query<WideRegistryApi>(name, type, data, size);
}
WinError Win32RegistryKey::DeleteValue(std::u16string_view name) {
  return static_cast<WinError>(WideRegistryApi::DeleteValue(key_.get(), ToWide(name).c_str()));
}

}  // namespace platform::win32
