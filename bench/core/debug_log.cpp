#include "bench/core/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace vexmark {

void DebugLog::operator()(const char* format, ...) {
  char buffer[kBufferSize];
  va_list args;
  va_start(args, format);
  int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (written < 0) return;
  std::size_t length = static_cast<std::size_t>(written) < sizeof buffer
                           ? static_cast<std::size_t>(written)
                           : sizeof buffer - 1;
  output_.Write(std::string_view(buffer, length));
}

}  // namespace vexmark
