#include "strings_subject.h"
#include "platform/win32/win32_system_code_page.h"

namespace strings_contract {

std::unique_ptr<platform::SystemCodePage> MakeSystemCodePage() {
  return std::make_unique<platform::win32::Win32SystemCodePage>();
}

}  // namespace strings_contract
