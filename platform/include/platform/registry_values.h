// Typed helpers over RegistryKey's raw values: the string, multi-string and DWORD encodings, in
// both widths. The wide ones store and read UTF-16 through the wide operations.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

WinError SetStringValue(RegistryKey& key, std::string_view name, std::string_view value);
WinError SetMultiStringValue(RegistryKey& key, std::string_view name,
                             const std::vector<std::string>& values);
WinError SetDwordValue(RegistryKey& key, std::string_view name, uint32_t value);

// Reads the whole value whatever its size; kErrorInvalidData when the stored type differs.
WinError QueryStringValue(RegistryKey& key, std::string_view name, std::string* value);
WinError QueryMultiStringValue(RegistryKey& key, std::string_view name,
                               std::vector<std::string>* values);
WinError QueryDwordValue(RegistryKey& key, std::string_view name, uint32_t* value);

WinError SetStringValue(RegistryKey& key, std::u16string_view name, std::u16string_view value);
WinError SetMultiStringValue(RegistryKey& key, std::u16string_view name,
                             const std::vector<std::u16string>& values);
WinError SetDwordValue(RegistryKey& key, std::u16string_view name, uint32_t value);
WinError QueryStringValue(RegistryKey& key, std::u16string_view name, std::u16string* value);
WinError QueryMultiStringValue(RegistryKey& key, std::u16string_view name,
                               std::vector<std::u16string>* values);
WinError QueryDwordValue(RegistryKey& key, std::u16string_view name, uint32_t* value);

// Splits REG_MULTI_SZ bytes into their strings; tolerates a missing final terminator.
std::vector<std::string> DecodeMultiString(const uint8_t* data, size_t size);
std::vector<uint8_t> EncodeMultiString(const std::vector<std::string>& values);
std::vector<std::u16string> DecodeWideMultiString(std::u16string_view data);
std::u16string EncodeWideMultiString(const std::vector<std::u16string>& values);

// UTF-16 text as the wide API stores it: little-endian code units. Decoding drops an odd
// final byte and keeps everything else, NULs included.
std::vector<uint8_t> WideBytes(std::u16string_view text);
std::u16string WideText(const uint8_t* data, size_t size);

}  // namespace platform
