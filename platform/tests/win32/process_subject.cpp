#include "process_subject.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_process.h"

namespace platform::testing {

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of('\\'));
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string text = temp;
  if (!text.empty() && text.back() == '\\') text.pop_back();
  return text;
}

// The recorder program beside the test program (copied there by the build), writing to a
// record file of this subject's own that it finds through its environment.
class Win32ProcessSubject : public ProcessSubject {
 public:
  Win32ProcessSubject() {
    static int counter = 0;
    record_file_ = TempFolder() + "\\ov-record-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++counter) + ".txt";
    DeleteFileA(record_file_.c_str());
    SetEnvironmentVariableA("OV_RECORD_FILE", record_file_.c_str());
    SetExitCode(0);
  }
  ~Win32ProcessSubject() override {
    for (HANDLE mutex : held_) CloseHandle(mutex);
    DeleteFileA(record_file_.c_str());
  }

  ProcessLauncher& launcher() override { return launcher_; }
  NamedMutexes& mutexes() override { return mutexes_; }
  std::string RecorderPath() override { return ProgramFolder() + "\\ov_recorder.exe"; }

  void SetExitCode(uint32_t code) override {
    SetEnvironmentVariableA("OV_RECORD_EXIT", std::to_string(code).c_str());
  }

  std::vector<RecordedStart> Recorded() override {
    std::vector<RecordedStart> starts;
    FILE* file = std::fopen(record_file_.c_str(), "rb");
    if (file == nullptr) return starts;
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
      const std::string line = text.substr(start, end - start);
      const size_t first = line.find('\t');
      const size_t second = line.find('\t', first + 1);
      if (second == std::string::npos) continue;
      starts.push_back({line.substr(0, first), line.substr(first + 1, second - first - 1),
                        line.substr(second + 1)});
    }
    return starts;
  }

  std::string MissingProgram() override { return ProgramFolder() + "\\ov_missing_program.exe"; }
  std::string WorkFolder() override { return TempFolder(); }

  void HoldElsewhere(std::string_view mutex_name) override {
    held_.push_back(CreateMutexA(nullptr, FALSE, std::string(mutex_name).c_str()));
  }

 private:
  win32::Win32ProcessLauncher launcher_;
  win32::Win32NamedMutexes mutexes_;
  std::string record_file_;
  std::vector<HANDLE> held_;
};

}  // namespace

std::unique_ptr<ProcessSubject> MakeProcessSubject() {
  return std::make_unique<Win32ProcessSubject>();
}

}  // namespace platform::testing
