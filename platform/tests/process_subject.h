// The process and named mutex seams under test, with a recording program to start: scripted
// in the simulation on Linux, the recorder program beside the test program under Wine.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/named_mutex.h"
#include "platform/process.h"

namespace platform::testing {

// One start as the recording program saw it.
struct RecordedStart {
  std::string program;  // its file name, "ov_recorder.exe"
  std::string folder;   // its working folder
  std::string parameters;
};

class ProcessSubject {
 public:
  virtual ~ProcessSubject() = default;

  virtual ProcessLauncher& launcher() = 0;
  virtual NamedMutexes& mutexes() = 0;

  // The recording program's full path; it ends with the code last given to SetExitCode
  // (0 before that).
  virtual std::string RecorderPath() = 0;
  virtual void SetExitCode(uint32_t code) = 0;
  // What the recording program started by this subject saw, in order.
  virtual std::vector<RecordedStart> Recorded() = 0;
  // A path where no program exists.
  virtual std::string MissingProgram() = 0;
  // An existing folder other than the test's own working folder (no final backslash).
  virtual std::string WorkFolder() = 0;

  // Makes the name exist as if another process held it.
  virtual void HoldElsewhere(std::string_view mutex_name) = 0;
};

std::unique_ptr<ProcessSubject> MakeProcessSubject();

}  // namespace platform::testing
