// Letter case in names (registry keys, file names, device ids) as the system code page folds
// it here: ASCII letters only; every other byte compares as it is.
#pragma once
#include <string_view>

namespace platform {

constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// Orders by the upper-case form, bytes unsigned; a prefix comes first.
bool LessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace platform
