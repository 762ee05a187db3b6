// Text from a fixed-size UTF-16 field that an outside party fills (the streaming library's
// records, the system's display device names), which need not end in a terminator, and text
// an outside party points at, which is read no further than a bound.
#pragma once
#include <cstddef>
#include <optional>
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

// The text at the pointer when its terminator lies within max_length characters; nullopt for
// a null pointer or a longer text, which is never read beyond the bound.
inline std::optional<std::u16string> PointedText(const char16_t* text, size_t max_length) {
  if (text == nullptr) return std::nullopt;
  for (size_t length = 0; length <= max_length; ++length) {
    if (text[length] == 0) return std::u16string(text, length);
  }
  return std::nullopt;
}

}  // namespace panel
