// Typed helpers over RegistryKey's raw values: the string, multi-string and DWORD encodings.
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

// Splits REG_MULTI_SZ bytes into their strings; tolerates a missing final terminator.
std::vector<std::string> DecodeMultiString(const uint8_t* data, size_t size);
std::vector<uint8_t> EncodeMultiString(const std::vector<std::string>& values);

}  // namespace platform
