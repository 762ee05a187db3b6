// The debugger output stream: one line per call, 8-bit or wide. The text is passed as is;
// a caller that wants a line feed includes it.
#pragma once
#include <string_view>

namespace platform {

class DebugOutput {
 public:
  virtual ~DebugOutput() = default;
  virtual void Write(std::string_view text) = 0;
  virtual void Write(std::u16string_view text) = 0;
};

}  // namespace platform
