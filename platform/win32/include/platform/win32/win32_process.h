// Shell starts through ShellExecuteExA, waits without limit and exit codes; named mutexes
// through CreateMutexA.
#pragma once
#include "platform/named_mutex.h"
#include "platform/process.h"

namespace platform::win32 {

// Failures come back through the result, never as a message box of the shell's own.
class Win32ProcessLauncher : public ProcessLauncher {
 public:
  std::unique_ptr<ProcessHandle> ShellExecute(const ShellExecuteRequest& request,
                                              WinError* error) override;
};

class Win32NamedMutexes : public NamedMutexes {
 public:
  NamedMutexResult Create(std::string_view name) override;
};

}  // namespace platform::win32
