#include "platform/formatted_text.h"

#include <cstdio>

namespace platform {

std::optional<std::string> FormatTextList(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) return std::nullopt;
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::optional<std::string> text = FormatTextList(format, args);
  va_end(args);
  return text.value_or(std::string());
}

}  // namespace platform
