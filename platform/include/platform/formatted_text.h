// printf-style text, for the debug lines the programs write.
#pragma once
#include <cstdarg>
#include <optional>
#include <string>

namespace platform {

// The formatted text; nullopt when the format or an argument cannot be formatted.
std::optional<std::string> FormatTextList(const char* format, va_list args);
// The formatted text; empty when it cannot be formatted.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace platform
