#include "panel/win32/win32_shell_open.h"

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace panel::win32 {

intptr_t Win32ShellOpen::Execute(std::u16string_view verb, std::u16string_view file,
                                 std::u16string_view parameters, int show) {
  std::wstring wide_verb = platform::win32::ToWide(verb);
  std::wstring wide_file = platform::win32::ToWide(file);
  std::wstring wide_parameters = platform::win32::ToWide(parameters);
  HINSTANCE result =
      ::ShellExecuteW(nullptr, wide_verb.c_str(), wide_file.c_str(),
                      wide_parameters.empty() ? nullptr : wide_parameters.c_str(), nullptr, show);
  return reinterpret_cast<intptr_t>(result);
}

}  // namespace panel::win32
