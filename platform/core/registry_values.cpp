#include "platform/registry_values.h"

namespace platform {

namespace {

// A value can grow between asking for its size and reading it; a few rounds cover a writer
// racing this reader without looping for ever.
constexpr int kReadAttempts = 4;

template <typename Name>
WinError ReadValue(RegistryKey& key, Name name, ValueType expected, std::vector<uint8_t>* bytes) {
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

template <typename Char>
std::basic_string_view<Char> UpToNul(std::basic_string_view<Char> text) {
  return text.substr(0, text.find(Char(0)));
}

template <typename Name>
WinError SetDword(RegistryKey& key, Name name, uint32_t value) {
  const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
  return key.SetValue(name, ValueType::kDword, bytes);
}

template <typename Name>
WinError QueryDword(RegistryKey& key, Name name, uint32_t* value) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kDword, &bytes);
  if (error != kErrorSuccess) return error;
  if (bytes.size() != 4) return kErrorInvalidData;
  *value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  return kErrorSuccess;
}

// The list ends at the first empty string or at the end of the data, whichever comes first.
template <typename Char>
std::vector<std::basic_string<Char>> Decode(std::basic_string_view<Char> text) {
  std::vector<std::basic_string<Char>> values;
  size_t start = 0;
  while (start < text.size()) {
    const std::basic_string_view<Char> item = UpToNul(text.substr(start));
    if (item.empty()) break;
    values.emplace_back(item);
    start += item.size() + 1;
  }
  return values;
}

// Each string ends at its first NUL; empty strings are left out, since an empty string ends
// a REG_MULTI_SZ and would hide the strings after it.
template <typename Char>
std::basic_string<Char> Encode(const std::vector<std::basic_string<Char>>& values) {
  std::basic_string<Char> encoded;
  for (const std::basic_string<Char>& value : values) {
    const std::basic_string_view<Char> item = UpToNul(std::basic_string_view<Char>(value));
    if (item.empty()) continue;
    encoded.append(item);
    encoded.push_back(Char(0));
  }
  encoded.push_back(Char(0));
  return encoded;
}

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
  return SetDword(key, name, value);
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
  return QueryDword(key, name, value);
}

WinError SetStringValue(RegistryKey& key, std::u16string_view name, std::u16string_view value) {
  std::u16string text(value);
  text.push_back(u'\0');
  return key.SetValue(name, ValueType::kString, WideBytes(text));
}

WinError SetMultiStringValue(RegistryKey& key, std::u16string_view name,
                             const std::vector<std::u16string>& values) {
  return key.SetValue(name, ValueType::kMultiString, WideBytes(EncodeWideMultiString(values)));
}

WinError SetDwordValue(RegistryKey& key, std::u16string_view name, uint32_t value) {
  return SetDword(key, name, value);
}

WinError QueryStringValue(RegistryKey& key, std::u16string_view name, std::u16string* value) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kString, &bytes);
  if (error != kErrorSuccess) return error;
  const std::u16string text = WideText(bytes.data(), bytes.size());
  *value = std::u16string(UpToNul(std::u16string_view(text)));
  return kErrorSuccess;
}

WinError QueryMultiStringValue(RegistryKey& key, std::u16string_view name,
                               std::vector<std::u16string>* values) {
  std::vector<uint8_t> bytes;
  const WinError error = ReadValue(key, name, ValueType::kMultiString, &bytes);
  if (error != kErrorSuccess) return error;
  *values = DecodeWideMultiString(WideText(bytes.data(), bytes.size()));
  return kErrorSuccess;
}

WinError QueryDwordValue(RegistryKey& key, std::u16string_view name, uint32_t* value) {
  return QueryDword(key, name, value);
}

std::vector<std::string> DecodeMultiString(const uint8_t* data, size_t size) {
  return Decode(std::string_view(reinterpret_cast<const char*>(data), data ? size : 0));
}

std::vector<uint8_t> EncodeMultiString(const std::vector<std::string>& values) {
  const std::string encoded = Encode(values);
  return std::vector<uint8_t>(encoded.begin(), encoded.end());
}

std::vector<std::u16string> DecodeWideMultiString(std::u16string_view data) { return Decode(data); }

std::u16string EncodeWideMultiString(const std::vector<std::u16string>& values) {
  return Encode(values);
}

std::vector<uint8_t> WideBytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string WideText(const uint8_t* data, size_t size) {
  std::u16string text;
  if (data == nullptr) return text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  return text;
}

}  // namespace platform
