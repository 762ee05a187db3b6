// The system code page through MultiByteToWideChar and WideCharToMultiByte with CP_ACP.
#pragma once
#include "platform/strings.h"

namespace platform::win32 {

class Win32SystemCodePage : public SystemCodePage {
 public:
  std::u16string ToUtf16(std::string_view text) const override;
  std::string FromUtf16(std::u16string_view text) const override;
};

}  // namespace platform::win32
