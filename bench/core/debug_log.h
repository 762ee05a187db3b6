// The benchmark's formatted debug output: printf-style text cut to a 512-byte buffer, one
// debugger-output line per call. Messages carry their own line feed.
#pragma once
#include <cstddef>

#include "platform/debug_output.h"

namespace vexmark {

class DebugLog {
 public:
  static constexpr std::size_t kBufferSize = 512;

  explicit DebugLog(platform::DebugOutput& output) : output_(output) {}
  DebugLog(const DebugLog&) = delete;
  DebugLog& operator=(const DebugLog&) = delete;

  void operator()(const char* format, ...) __attribute__((format(printf, 2, 3)));

 private:
  platform::DebugOutput& output_;
};

}  // namespace vexmark
