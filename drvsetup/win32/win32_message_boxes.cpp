#include "drvsetup/win32/win32_adapters.h"

namespace drvsetup::win32 {

void Win32MessageBoxes::ShowInformation(std::string_view caption, std::string_view text,
                                        bool topmost) {
  const std::string caption_text(caption);
  const std::string body(text);
  const UINT style = MB_OK | MB_ICONINFORMATION | (topmost ? MB_TOPMOST : 0);
  MessageBoxA(nullptr, body.c_str(), caption_text.c_str(), style);
}

}  // namespace drvsetup::win32
