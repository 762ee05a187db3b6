// The registry, with the Windows semantics the deliverables rely on: created vs opened keys,
// buffer sizes and missing values, deletion of keys with subkeys refused. Every operation comes
// in two widths, as the Windows API does: 8-bit names and string data in the system code page,
// and UTF-16 names with UTF-16 string data (little-endian code units, as the wide API stores
// them). A string written through one width reads back through the other converted through
// the system code page. Results are Windows error codes.
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

// Which call deletes a key: the one that names the view (RegDeleteKeyEx) when a view is
// asked for and the system has it; otherwise the plain one. Systems without RegDeleteKeyEx
// (32-bit XP) have a single view, so the plain call deletes in the view asked for.
enum class KeyDeletionCall { kPlain, kWithView };
KeyDeletionCall ChooseKeyDeletionCall(RegistryView view, bool has_delete_key_ex);

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

  // The same operations in UTF-16.
  virtual WinError CreateSubKey(std::u16string_view path, uint32_t access,
                                std::unique_ptr<RegistryKey>* key, bool* created) = 0;
  virtual WinError OpenSubKey(std::u16string_view path, uint32_t access,
                              std::unique_ptr<RegistryKey>* key) = 0;
  virtual WinError DeleteSubKey(std::u16string_view path) = 0;
  virtual WinError EnumSubKey(uint32_t index, std::u16string* name) = 0;
  virtual WinError SetValue(std::u16string_view name, ValueType type,
                            std::span<const uint8_t> data) = 0;
  virtual WinError QueryValue(std::u16string_view name, ValueType* type, uint8_t* data,
                              uint32_t* size) = 0;
  virtual WinError DeleteValue(std::u16string_view name) = 0;
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

  // The same operations in UTF-16.
  virtual WinError CreateKey(RootKey root, std::u16string_view path, uint32_t access,
                             RegistryView view, std::unique_ptr<RegistryKey>* key,
                             bool* created) = 0;
  virtual WinError OpenKey(RootKey root, std::u16string_view path, uint32_t access,
                           RegistryView view, std::unique_ptr<RegistryKey>* key) = 0;
  virtual WinError DeleteKey(RootKey root, std::u16string_view path, RegistryView view) = 0;
};

}  // namespace platform
