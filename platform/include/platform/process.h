// Starting programs through the shell and waiting for them.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/win_error.h"

namespace platform {

// Show modes with their Windows values.
inline constexpr int kShowHidden = 0;
inline constexpr int kShowNormal = 1;

struct ShellExecuteRequest {
  std::string verb;  // "open", or empty for the default verb
  std::string file;
  std::string parameters;
  std::string directory;  // working folder; empty for the caller's
  int show = kShowNormal;
  bool keep_process = true;  // return a handle to wait on
};

class ProcessHandle {
 public:
  virtual ~ProcessHandle() = default;
  // Waits without limit for the process to end.
  virtual void Wait() = 0;
  // The exit code once ended; nullopt while it runs or when it cannot be read.
  virtual std::optional<uint32_t> ExitCode() = 0;
};

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the request; nullptr with *error set when it cannot be started. With
  // keep_process false a started request returns a handle whose Wait returns at once.
  virtual std::unique_ptr<ProcessHandle> ShellExecute(const ShellExecuteRequest& request,
                                                      WinError* error) = 0;
};

}  // namespace platform
