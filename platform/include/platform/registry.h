// The registry, with the Windows semantics the deliverables rely on: created vs opened keys,
// buffer sizes and missing values, deletion of keys with subkeys refused. Names and string
// data are 8-bit text in the system code page; results are Windows error codes.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/win_error.h"

namespace platform {

// A key path that starts with a backslash.
inline constexpr WinError kErrorBadPathname = 161;

enum class RootKey { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// Which registry view a 32-bit process on 64-bit Windows addresses.
enum class RegistryView { kDefault, k64Bit, k32Bit };

// Access rights, with their Windows values.
inline constexpr uint32_t kKeyQueryValue = 0x0001;
inline constexpr uint32_t kKeySetValue = 0x0002;
inline constexpr uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyWrite = 0x20006;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;

enum class ValueType : uint32_t {
  kNone = 0,
  kString = 1,
  kExpandString = 2,
  kBinary = 3,
  kDword = 4,
  kMultiString = 7
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  virtual WinError CreateSubKey(std::string_view path, uint32_t access,
                                std::unique_ptr<RegistryKey>* key, bool* created) = 0;
  virtual WinError OpenSubKey(std::string_view path, uint32_t access,
                              std::unique_ptr<RegistryKey>* key) = 0;
  // Deletes one key without subkeys; a key that has subkeys is refused, as on Windows.
  virtual WinError DeleteSubKey(std::string_view path) = 0;
  // kErrorNoMoreItems past the last subkey.
  virtual WinError EnumSubKey(uint32_t index, std::string* name) = 0;

  // Raw value bytes, stored exactly as given; string types include their terminating zero(s)
  // as on Windows.
  virtual WinError SetValue(std::string_view name, ValueType type,
                            std::span<const uint8_t> data) = 0;
  // RegQueryValueEx semantics: a null data pointer asks for the size; a too small buffer gives
  // kErrorMoreData with *size set to the size needed; a missing value gives kErrorFileNotFound;
  // data without size gives kErrorInvalidParameter. String data stored without a terminator
  // gets one in the buffer where there is room, not counted in *size.
  virtual WinError QueryValue(std::string_view name, ValueType* type, uint8_t* data,
                              uint32_t* size) = 0;
  virtual WinError DeleteValue(std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual WinError CreateKey(RootKey root, std::string_view path, uint32_t access,
                             RegistryView view, std::unique_ptr<RegistryKey>* key,
                             bool* created) = 0;
  virtual WinError OpenKey(RootKey root, std::string_view path, uint32_t access, RegistryView view,
                           std::unique_ptr<RegistryKey>* key) = 0;
  virtual WinError DeleteKey(RootKey root, std::string_view path, RegistryView view) = 0;
};

}  // namespace platform
