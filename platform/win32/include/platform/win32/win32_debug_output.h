// The debugger output stream through OutputDebugStringA/W.
#pragma once
#include "platform/debug_output.h"

namespace platform::win32 {

class Win32DebugOutput : public DebugOutput {
 public:
  void Write(std::string_view text) override;
  void Write(std::u16string_view text) override;
};

}  // namespace platform::win32
