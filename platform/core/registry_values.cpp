#include "platform/registry_values.h"

namespace platform {

namespace {

// A value can grow between asking for its size and reading it; a few rounds cover a writer
// racing this reader without looping for ever.
constexpr int kReadAttempts = 4;

WinError ReadValue(RegistryKey& key, std::string_view name, ValueType expected,
                   std::vector<uint8_t>* bytes) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    ValueType type = ValueType::kNone;
    uint32_t size = 0;
    WinError error = key.QueryValue(name, &type, nullptr, &size);
    if (error != kErrorSuccess) return error;
    if (type != expected) return kErrorInvalidData;
    // One spare byte so a buffer is never empty (an empty one would ask for the size again).
    bytes->assign(size + 1, 0);
    error = key.QueryValue(name, &type, bytes->data(), &size);
    if (error == kErrorMoreData) continue;
    if (error != kErrorSuccess) return error;
    if (type != expected) return kErrorInvalidData;
    bytes->resize(size);
    return kErrorSuccess;
  }
  return kErrorMoreData;
}

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

WinError SetStringValue(RegistryKey& key, std::string_view name, std::string_view value) {
  std::vector<uint8_t> bytes(value.begin(), value.end());
  bytes.push_back(0);
  return key.SetValue(name, ValueType::kString, bytes);
}

WinError SetMultiStringValue(RegistryKey& key, std::string_view name,
                             const std::vector<std::string>& values) {
  return key.SetValue(name, ValueType::kMultiString, EncodeMultiString(values));
}

WinError SetDwordValue(RegistryKey& key, std::string_view name, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return key.SetValue(name, ValueType::kDword, bytes);
}

WinError QueryStringValue(RegistryKey& key, std::string_view name, std::string* value) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kString, &bytes);
  if (error != kErrorSuccess) return error;
  // Readers of a REG_SZ stop at its first NUL, and stored data may lack the terminator.
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  *value = std::string(UpToNul(text));
  return kErrorSuccess;
}

WinError QueryMultiStringValue(RegistryKey& key, std::string_view name,
                               std::vector<std::string>* values) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kMultiString, &bytes);
  if (error != kErrorSuccess) return error;
  *values = DecodeMultiString(bytes.data(), bytes.size());
  return kErrorSuccess;
}

WinError QueryDwordValue(RegistryKey& key, std::string_view name, uint32_t* value) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kDword, &bytes);
  if (error != kErrorSuccess) return error;
  if (bytes.size() != 4) return kErrorInvalidData;
  *value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return kErrorSuccess;
}

// The list ends at the first empty string or at the end of the data, whichever comes first.
std::vector<std::string> DecodeMultiString(const uint8_t* data, size_t size) {
  std::vector<std::string> values;
  const std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
  size_t start = 0;
  while (start < text.size()) {
    const std::string_view item = UpToNul(text.substr(start));
    if (item.empty()) break;
    values.emplace_back(item);
    start += item.size() + 1;
  }
  return values;
}

// Each string ends at its first NUL; empty strings are left out, since an empty string ends
// a REG_MULTI_SZ and would hide the strings after it.
std::vector<uint8_t> EncodeMultiString(const std::vector<std::string>& values) {
  std::vector<uint8_t> bytes;
  for (const std::string& value : values) {
    const std::string_view item = UpToNul(value);
    if (item.empty()) continue;
    bytes.insert(bytes.end(), item.begin(), item.end());
    bytes.push_back(0);
  }
  bytes.push_back(0);
  return bytes;
}

}  // namespace platform
