#include "platform/guid.h"

#include <cstdio>

namespace platform {

std::string FormatGuid(const Guid& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(guid.data1), guid.data2, guid.data3, guid.data4[0],
                guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4], guid.data4[5],
                guid.data4[6], guid.data4[7]);
  return text;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads `digits` hexadecimal digits at text[at]; false when any is not one.
bool ReadHex(std::string_view text, size_t at, size_t digits, uint32_t* value) {
  uint32_t result = 0;
  for (size_t i = 0; i < digits; ++i) {
    const int digit = HexDigit(text[at + i]);
    if (digit < 0) return false;
    result = result << 4 | static_cast<uint32_t>(digit);
  }
  *value = result;
  return true;
}

}  // namespace

std::optional<Guid> ParseGuid(std::string_view text) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
      text[14] != '-' || text[19] != '-' || text[24] != '-') {
    return std::nullopt;
  }
  Guid guid;
  uint32_t part = 0;
  if (!ReadHex(text, 1, 8, &guid.data1)) return std::nullopt;
  if (!ReadHex(text, 10, 4, &part)) return std::nullopt;
  guid.data2 = static_cast<uint16_t>(part);
  if (!ReadHex(text, 15, 4, &part)) return std::nullopt;
  guid.data3 = static_cast<uint16_t>(part);
  const size_t byte_offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t i = 0; i < 8; ++i) {
    if (!ReadHex(text, byte_offsets[i], 2, &part)) return std::nullopt;
    guid.data4[i] = static_cast<uint8_t>(part);
  }
  return guid;
}

}  // namespace platform
