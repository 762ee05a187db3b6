#include "bench/core/debug_log.h"

#include <cstdarg>
#include <optional>
#include <string>

#include "platform/formatted_text.h"

namespace vexmark {

void DebugLog::operator()(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::optional<std::string> text = platform::FormatTextList(format, args);
  va_end(args);
  if (!text) return;
  if (text->size() >= kBufferSize) text->resize(kBufferSize - 1);
  output_.Write(*text);
}

}  // namespace vexmark
