#include "platform/win32/win32_system_code_page.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

std::u16string Win32SystemCodePage::ToUtf16(std::string_view text) const {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  return FromWide(wide);
}

std::string Win32SystemCodePage::FromUtf16(std::u16string_view text) const {
  if (text.empty()) return {};
  const std::wstring wide = ToWide(text);
  const int length = static_cast<int>(wide.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string narrow(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), length, narrow.data(), needed, nullptr, nullptr);
  return narrow;
}

}  // namespace platform::win32
