#include "panel/win32/win32_wide_shell_launcher.h"

#include <windows.h>
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>
// The port's operation shares its name with the shell's 8-bit/wide macro.
#undef ShellExecute

#include <string>

#include "platform/strings.h"
#include "platform/win32/scoped_handles.h"
#include "platform/win32/wide_text.h"

namespace panel::win32 {
namespace {

class ShellProcess : public platform::ProcessHandle {
 public:
  explicit ShellProcess(HANDLE process) : process_(process) {}
  void Wait() override {
    if (process_) ::WaitForSingleObject(process_.get(), INFINITE);
  }
  std::optional<uint32_t> ExitCode() override {
    DWORD code = 0;
    if (!process_ || ::WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process_.get(), &code)) {
      return std::nullopt;
    }
    return code;
  }

 private:
  platform::win32::ScopedKernelHandle process_;
};

std::wstring Wide(const std::string& utf8) {
  return platform::win32::ToWide(platform::Utf8ToUtf16(utf8));
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

std::unique_ptr<platform::ProcessHandle> Win32WideShellLauncher::ShellExecute(
    const platform::ShellExecuteRequest& request, platform::WinError* error) {
  const std::wstring verb = Wide(request.verb);
  const std::wstring file = Wide(request.file);
  const std::wstring parameters = Wide(request.parameters);
  const std::wstring directory = Wide(request.directory);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | (request.keep_process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = OrNull(verb);
  info.lpFile = file.c_str();
  info.lpParameters = OrNull(parameters);
  info.lpDirectory = OrNull(directory);
  info.nShow = request.show;
  if (!::ShellExecuteExW(&info)) {
    if (error != nullptr) *error = ::GetLastError();
    return nullptr;
  }
  if (error != nullptr) *error = ERROR_SUCCESS;
  // A start handed to a running program (DDE) gives no process: there is nothing to wait for.
  return std::make_unique<ShellProcess>(info.hProcess);
}

}  // namespace panel::win32
