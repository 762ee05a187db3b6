// Writes debug-output lines through the adapter, for the runner's log checks.
// Each argument is one call: "a:TEXT" through the 8-bit call, "w:TEXT" through the wide one,
// "count:N" writes the 8-bit lines "line 1" .. "line N". In TEXT, "\n" and "\r" are line feed
// and carriage return, "\uXXXX" a UTF-16 code unit (a byte in 8-bit text), so tests need no
// non-ASCII arguments.
#include <string>
#include <string_view>

#include "platform/win32/win32_debug_output.h"

namespace {

std::u16string Unescape(std::wstring_view text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.substr(i).starts_with(L"\\n")) {
      out += u'\n';
      i += 1;
    } else if (text.substr(i).starts_with(L"\\r")) {
      out += u'\r';
      i += 1;
    } else if (text.substr(i).starts_with(L"\\u") && i + 6 <= text.size()) {
      out += static_cast<char16_t>(std::stoi(std::wstring(text.substr(i + 2, 4)), nullptr, 16));
      i += 5;
    } else {
      out += static_cast<char16_t>(text[i]);
    }
  }
  return out;
}

void WriteArgument(platform::DebugOutput& output, std::wstring_view argument) {
  if (argument.starts_with(L"a:")) {
    const std::u16string line = Unescape(argument.substr(2));
    output.Write(std::string(line.begin(), line.end()));
  } else if (argument.starts_with(L"w:")) {
    output.Write(Unescape(argument.substr(2)));
  } else if (argument.starts_with(L"count:")) {
    const int count = std::stoi(std::wstring(argument.substr(6)));
    for (int i = 1; i <= count; ++i) output.Write("line " + std::to_string(i));
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  platform::win32::Win32DebugOutput output;
  for (int i = 1; i < argc; ++i) WriteArgument(output, argv[i]);
  return 0;
}
