#include "platform/win32/win32_debug_output.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

void Win32DebugOutput::Write(std::string_view text) {
  const std::string line(text);
  OutputDebugStringA(line.c_str());
}

void Win32DebugOutput::Write(std::u16string_view text) {
  const std::wstring line(text.begin(), text.end());
  OutputDebugStringW(line.c_str());
}

}  // namespace platform::win32
