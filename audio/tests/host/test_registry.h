// Registry values as the tests expect to find them after the program wrote them.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_values.h"

namespace audio::testing {

// The bytes of a REG_SZ written through the wide API: the UTF-16LE text and its terminator.
inline std::vector<uint8_t> WideStringBytes(std::u16string_view text) {
  return platform::WideBytes(std::u16string(text) + u'\0');
}

}  // namespace audio::testing
