// Text from a fixed-size UTF-16 field that an outside party fills (the streaming library's
// records, the system's display device names), which need not end in a terminator.
#pragma once
#include <cstddef>
#include <string>

namespace panel {

// The text up to its terminator, never beyond the field (a field filled without one gives the
// whole field).
template <size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
  size_t length = 0;
  while (length < N && field[length] != 0) ++length;
  return std::u16string(field, length);
}

}  // namespace panel
