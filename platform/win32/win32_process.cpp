#include "platform/win32/win32_process.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
// The port's method, not the Windows macro.
#undef ShellExecute

#include <string>

#include "platform/win32/scoped_handles.h"

namespace platform::win32 {

namespace {

class Win32ProcessHandle : public ProcessHandle {
 public:
  explicit Win32ProcessHandle(HANDLE process) : process_(process) {}

  void Wait() override { WaitForSingleObject(process_.get(), INFINITE); }

  std::optional<uint32_t> ExitCode() override {
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    // STILL_ACTIVE is also a code a process can end with; only the handle tells them apart.
    if (code == STILL_ACTIVE && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
      return std::nullopt;
    }
    return code;
  }

 private:
  ScopedKernelHandle process_;
};

class DetachedProcessHandle : public ProcessHandle {
 public:
  void Wait() override {}
  std::optional<uint32_t> ExitCode() override { return std::nullopt; }
};

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

class Win32MutexHandle : public MutexHandle {
 public:
  explicit Win32MutexHandle(HANDLE mutex) : mutex_(mutex) {}

 private:
  ScopedKernelHandle mutex_;
};

}  // namespace

std::unique_ptr<ProcessHandle> Win32ProcessLauncher::ShellExecute(
    const ShellExecuteRequest& request, WinError* error) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | (request.keep_process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.lpVerb = OrNull(request.verb);
  info.lpFile = request.file.c_str();
  info.lpParameters = OrNull(request.parameters);
  info.lpDirectory = OrNull(request.directory);
  info.nShow = request.show;
  if (!ShellExecuteExA(&info)) {
    if (error != nullptr) *error = GetLastError();
    return nullptr;
  }
  if (error != nullptr) *error = ERROR_SUCCESS;
  // A start handed to a running program (DDE) gives no process even when one was asked for.
  if (info.hProcess == nullptr) return std::make_unique<DetachedProcessHandle>();
  return std::make_unique<Win32ProcessHandle>(info.hProcess);
}

NamedMutexResult Win32NamedMutexes::Create(std::string_view name) {
  const std::string text(name);
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexA(nullptr, FALSE, OrNull(text));
  const DWORD error = GetLastError();
  NamedMutexResult result;
  if (mutex == nullptr) return result;
  result.kind = error == ERROR_ALREADY_EXISTS ? NamedMutexResult::Kind::kAlreadyExisted
                                              : NamedMutexResult::Kind::kCreated;
  result.handle = std::make_unique<Win32MutexHandle>(mutex);
  return result;
}

}  // namespace platform::win32
