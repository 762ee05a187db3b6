#include "process_subject.h"

#include "platform/sim/sim_process.h"

namespace platform::testing {

namespace {

constexpr const char* kRecorder = "C:\\tests\\ov_recorder.exe";
constexpr const char* kCallerFolder = "C:\\tests";

// The recorder's behaviour scripted into the simulated launcher.
class SimProcessSubject : public ProcessSubject {
 public:
  SimProcessSubject() {
    launcher_.Script("ov_recorder.exe", [this](const ShellExecuteRequest& request) {
      recorded_.push_back({"ov_recorder.exe",
                           request.directory.empty() ? kCallerFolder : request.directory,
                           request.parameters});
      return exit_code_;
    });
    launcher_.FailToStart(MissingProgram(), kErrorFileNotFound);
  }

  ProcessLauncher& launcher() override { return launcher_; }
  NamedMutexes& mutexes() override { return mutexes_; }
  std::string RecorderPath() override { return kRecorder; }
  void SetExitCode(uint32_t code) override { exit_code_ = code; }
  std::vector<RecordedStart> Recorded() override { return recorded_; }
  std::string MissingProgram() override { return "C:\\tests\\ov_missing.exe"; }
  std::string WorkFolder() override { return "C:\\users\\test\\Temp"; }
  void HoldElsewhere(std::string_view mutex_name) override { mutexes_.HoldElsewhere(mutex_name); }

 private:
  sim::SimProcessLauncher launcher_;
  sim::SimNamedMutexes mutexes_;
  uint32_t exit_code_ = 0;
  std::vector<RecordedStart> recorded_;
};

}  // namespace

std::unique_ptr<ProcessSubject> MakeProcessSubject() {
  return std::make_unique<SimProcessSubject>();
}

}  // namespace platform::testing
