// The boundary between the core's UTF-16 text (char16_t) and the wide Windows API (wchar_t,
// also UTF-16 on Windows): a copy of the code units, nothing converted.
#pragma once
#include <string>
#include <string_view>

namespace platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide API is UTF-16");

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace platform::win32
