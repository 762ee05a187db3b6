// The simulated system's code page is UTF-8 (a code page Windows offers as the system one), so
// every character survives the 8-bit API; the simulated registry stores 8-bit names in it.
#pragma once
#include "platform/strings.h"

namespace platform::sim {

class SimSystemCodePage : public SystemCodePage {
 public:
  std::u16string ToUtf16(std::string_view text) const override { return Utf8ToUtf16(text); }
  std::string FromUtf16(std::u16string_view text) const override { return Utf16ToUtf8(text); }
};

}  // namespace platform::sim
