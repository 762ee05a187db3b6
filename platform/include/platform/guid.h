// A GUID with the Windows byte layout, and its registry text form.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  std::array<uint8_t, 8> data4{};

  friend bool operator==(const Guid&, const Guid&) = default;
};
static_assert(sizeof(Guid) == 16);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal.
std::string FormatGuid(const Guid& guid);
// Accepts the braced form, hexadecimal digits of either case; nullopt for anything else.
std::optional<Guid> ParseGuid(std::string_view text);

}  // namespace platform
