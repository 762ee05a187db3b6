// Starting programs through ShellExecuteExW, for paths with letters outside any code page: the
// request's texts are UTF-8 and reach the shell as UTF-16, unchanged.
#pragma once
#include "platform/process.h"

namespace panel::win32 {

class Win32WideShellLauncher : public platform::ProcessLauncher {
 public:
  std::unique_ptr<platform::ProcessHandle> ShellExecute(
      const platform::ShellExecuteRequest& request, platform::WinError* error) override;
};

}  // namespace panel::win32
