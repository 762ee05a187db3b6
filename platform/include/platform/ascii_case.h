// Letter case in names (registry keys, file names, device ids, script words) as the programs
// fold it: ASCII letters only; every other byte or UTF-16 code unit compares as it is.
#pragma once
#include <string_view>

namespace platform {

constexpr char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char16_t UpperAscii(char16_t c) {
  return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
// Orders by the upper-case form, bytes unsigned; a prefix comes first.
bool LessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace platform
